#pragma once

namespace harmik {

class TForm1;

// How the main window comes up: the display check, the texts, the defaults and the files over
// them, the sound devices with their messages, and the loaded settings on the devices and
// controls (the window's FormCreate and ProgramInit).
class ProgramStart {
public:
    explicit ProgramStart(TForm1& window) : w_(window) {}

    void FormCreate(int bitsPerPixel);
    // The loaded settings on the devices and controls, and the saved module selected.
    void EarSetLoadedSettings();

private:
    void ProgramInit();
    void StringInit();
    void applyWindowBounds();
    void startSound();

    TForm1& w_;
};

} // namespace harmik
