#pragma once
// The main window in a test: a fresh current directory, loopback MIDI devices, no audio output,
// and message boxes answered by the test.
#include "app/main_window.h"
#include "loopback_support.h"
#include "userdata/messages.h"
#include "userdata/strings.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace harmik {

// Runs each test in a fresh current directory (the user's folder of the program) and answers
// the program's message boxes with the answers queued by the test.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        SetMessageHook([this](const MessageRequest& r) {
            shown.push_back(r);
            if (answers.empty())
                return MessageAnswer::Ok;
            const MessageAnswer a = answers.front();
            answers.erase(answers.begin());
            return a;
        });
    }
    void TearDown() override {
        SetMessageHook({});
        QDir::setCurrent(previousDir);
    }

    // A window on loopback MIDI devices without an audio output; what it says at start-up
    // about the missing sound devices is kept apart from what the test looks at.
    std::unique_ptr<TForm1> makeWindow(int bitsPerPixel = 24) {
        TForm1Setup setup;
        setup.bitsPerPixel = bitsPerPixel;
        setup.sound.OpenAudio = false;
        setup.sound.Midi = &midi;
        setup.sound.SoundFontFolders = {dir.path()};
        auto w = std::make_unique<TForm1>(setup);
        startupMessages = shown;
        shown.clear();
        return w;
    }

    QTemporaryDir dir;
    QString previousDir;
    test::LoopbackMidi midi{1, 1};
    std::vector<MessageRequest> shown;
    std::vector<MessageRequest> startupMessages;
    std::vector<MessageAnswer> answers;
};

inline bool isSoundDeviceMessage(const MessageRequest& r) {
    return r.text.startsWith(LoadStr(2000).left(8)) || r.text == LoadStr(2040);
}

} // namespace harmik
