// The user's profile: its 412 bytes on disk, and the profile dialog as a user works it.
#include "userdata/messages.h"
#include "userdata/profile_dialog.h"
#include "userdata/profile_record.h"
#include "userdata/settings_record.h"
#include "userdata/short_string.h"
#include "userdata/strings.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace harmik;

namespace {

QByteArray bytesOf(const ProfileRecord& p) {
    return {reinterpret_cast<const char*>(&p), int(sizeof p)};
}

QByteArray shortString(const QString& text, int capacity) {
    QByteArray b(capacity + 1, '\0');
    const QByteArray chars = ToCp1251(text);
    b[0] = char(chars.size());
    b.replace(1, chars.size(), chars);
    return b;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class ProfileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        SetMessageHook([this](const MessageRequest& r) {
            shown.push_back(r);
            return MessageAnswer::Ok;
        });
        settings.LastProfile.setText(QStringLiteral("harmik.hkp"));
    }
    void TearDown() override {
        SetMessageHook({});
        QDir::setCurrent(previous);
    }

    QTemporaryDir dir;
    QString previous;
    ProfileRecord profile = DefaultProfile();
    bool modified = false;
    SettingsRecord settings = DefaultSettings();
    std::vector<MessageRequest> shown;
};

} // namespace

TEST(ProfileRecordTest, DefaultsAndTheFileAreByteForByteTheRecord) {
    ProfileRecord p = DefaultProfile();
    const QByteArray defaults = bytesOf(p);
    EXPECT_EQ(defaults.mid(0, 36), QByteArray(36, '\0'));
    EXPECT_EQ(defaults.mid(36, 26), shortString(LoadStr(1702), 25));
    EXPECT_EQ(defaults.mid(62, 353 - 62), QByteArray(353 - 62, '\0'));
    EXPECT_EQ(defaults.mid(353, 14), QByteArray(14, '\1'));
    EXPECT_EQ(defaults.mid(367), QByteArray(45, '\0'));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("user.hkp"));
    p.UserName.setText(QStringLiteral("Анна"));
    p.TutorName.setText(QStringLiteral("HARMIK01"));
    p.TutorTitle.setText(QStringLiteral("Курс"));
    p.Level[2] = 4;
    p.MaxLevel[5] = 99;
    QString error;
    ASSERT_TRUE(WriteProfileFile(p, path, &error)) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray file = f.readAll();
    ASSERT_EQ(file.size(), 412);
    EXPECT_EQ(file.mid(0, 36), shortString(QStringLiteral("HARMIK PROFIL 1.6 b1"), 35));
    EXPECT_EQ(file.mid(36, 26), shortString(QStringLiteral("Анна"), 25));
    EXPECT_EQ(file.mid(62, 9), shortString(QStringLiteral("HARMIK01"), 8));
    EXPECT_EQ(file.mid(71, 26), shortString(QStringLiteral("Курс"), 25));
    EXPECT_EQ(file.at(353 + 2), '\4');
    EXPECT_EQ(file.at(360 + 5), char(99));

    ProfileRecord back = DefaultProfile();
    ASSERT_EQ(ReadProfileFile(path, back), ProfileReadResult::Loaded);
    EXPECT_EQ(bytesOf(back), file);

    // Another kind of file (a settings file) is refused whole.
    const QString other = dir.filePath(QStringLiteral("init.hkm"));
    SettingsRecord s = DefaultSettings();
    ASSERT_TRUE(SaveSettingsFile(s, other, &error));
    ProfileRecord untouched = DefaultProfile();
    EXPECT_EQ(ReadProfileFile(other, untouched), ProfileReadResult::WrongHeader);
    EXPECT_EQ(bytesOf(untouched), defaults);
}

TEST_F(ProfileDialogTest, TypingTheNameBackDisablesSaveAndCancelAgain) {
    profile.UserName.setText(QStringLiteral("Анна"));
    profile.MaxLevel = {3, 99, 1, 1, 1, 1, 1};
    profile.Level = {2, 1, 1, 1, 1, 1, 1};
    TProfilDialog d({profile, modified, settings.LastProfile});
    EXPECT_EQ(d.windowTitle(), LoadStr(1700));
    EXPECT_EQ(d.LabNiv(1)->text(), QStringLiteral("2 / 3"));
    EXPECT_EQ(d.LabNiv(2)->text(), QStringLiteral("-"));
    EXPECT_FALSE(d.LevelSlider(2)->isEnabled());
    EXPECT_FALSE(d.BtnGem()->isEnabled());
    EXPECT_FALSE(d.CancelBtn()->isEnabled());

    QTest::keyClicks(d.EditNavn(), QStringLiteral("x"));
    EXPECT_TRUE(d.BtnGem()->isEnabled());
    EXPECT_TRUE(d.CancelBtn()->isEnabled());
    EXPECT_TRUE(modified);
    QTest::keyClick(d.EditNavn(), Qt::Key_Backspace);
    EXPECT_FALSE(d.BtnGem()->isEnabled());
    EXPECT_FALSE(d.CancelBtn()->isEnabled());

    d.LevelSlider(1)->setValue(3);
    EXPECT_EQ(d.LabNiv(1)->text(), QStringLiteral("3 / 3"));
    EXPECT_TRUE(d.BtnGem()->isEnabled());
    EXPECT_EQ(profile.Level[0], 2) << "the active profile changes only with OK";
    d.OKBtnClick();
    EXPECT_EQ(profile.Level[0], 3);
}

TEST_F(ProfileDialogTest, SaveLoadAndTutorChoiceKeepTheDialogWholeOnFailure) {
    TProfilDialog d({profile, modified, settings.LastProfile});
    QTest::keyClicks(d.EditNavn(), QStringLiteral("Ivan"));

    // A folder that is not there: the warning names the file and the dialog stays as it was.
    EXPECT_FALSE(d.SaveTo(dir.filePath(QStringLiteral("missing/ivan.hkp"))));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.startsWith(LoadStr(2041).left(10)));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("ivan.hkp")));
    EXPECT_TRUE(d.BtnGem()->isEnabled());
    EXPECT_EQ(settings.LastProfile.text(), QStringLiteral("harmik.hkp"));

    ASSERT_TRUE(d.SaveTo(QStringLiteral("ivan.hkp")));
    EXPECT_FALSE(d.BtnGem()->isEnabled());
    EXPECT_EQ(settings.LastProfile.text(), QStringLiteral("ivan.hkp"));
    EXPECT_EQ(profile.UserName.text(), LoadStr(1702) + QStringLiteral("Ivan"));

    // A tutor index whose third line is not a number changes nothing.
    writeFile(QStringLiteral("BROKEN01.TUT"), "Broken\n3\nthree\n1\n1\n1\n1\n1\nInfo\n");
    const QByteArray before = bytesOf(d.ProfileEdit());
    shown.clear();
    EXPECT_FALSE(d.ChangeTutorTo(QStringLiteral("BROKEN01.TUT")));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, FormatStr(2020, {QStringLiteral("BROKEN01.TUT")}));
    EXPECT_EQ(bytesOf(d.ProfileEdit()), before);
    EXPECT_EQ(d.EditTutSet()->text(), QString());

    writeFile(QStringLiteral("GOODTUTR.TUT"), "Good tutor\n3\n99\n2\n1\n1\n1\n1\nAbout it\n");
    ASSERT_TRUE(d.ChangeTutorTo(QStringLiteral("GOODTUTR.TUT")));
    EXPECT_EQ(d.EditTutSet()->text(), QStringLiteral("Good tutor"));
    EXPECT_EQ(d.ProfileEdit().TutorName.text(), QStringLiteral("GOODTUTR"));
    EXPECT_EQ(d.LabNiv(1)->text(), QStringLiteral("1 / 3"));
    EXPECT_EQ(d.LabNiv(2)->text(), QStringLiteral("-"));
    EXPECT_TRUE(d.BitBtnBeskriv()->isEnabled());

    // Loading a file of another kind leaves the dialog's values untouched.
    SettingsRecord s = DefaultSettings();
    QString error;
    ASSERT_TRUE(SaveSettingsFile(s, QStringLiteral("init.hkm"), &error));
    const QByteArray edited = bytesOf(d.ProfileEdit());
    shown.clear();
    EXPECT_FALSE(d.LoadFrom(QStringLiteral("init.hkm")));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, LoadStr(653));
    EXPECT_EQ(bytesOf(d.ProfileEdit()), edited);

    // The saved profile comes back with its tutor's maxima read afresh.
    ASSERT_TRUE(d.LoadFrom(QStringLiteral("ivan.hkp")));
    EXPECT_EQ(d.EditNavn()->text(), LoadStr(1702) + QStringLiteral("Ivan"));
    EXPECT_FALSE(modified);
}
