#pragma once
#include "app/colour_depth.h"
#include "input/cursor_table.h"
#include "userdata/settings_record.h"
#include "userdata/top_ten.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;

namespace harmik {

class AboutWindow;
class ActivityLamps;
class HintTiming;
class MiniPicture;
class SoundPanel;

// The main window: owner of the program's run-time records, and of the order in which the
// program comes up and goes down.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Creates the window for a display of the given colour depth (0: ask the screen) and
    // runs ProgramInit.
    explicit TForm1(int bitsPerPixel = 0, QWidget* parent = nullptr);
    ~TForm1() override;

    // The records the window owns.
    SettingsRecord& Settings() { return settings_; }
    TopTenTable& TopTen() { return topTen_; }
    const CursorTable& Cursors() const { return cursors_; }

    bool HighColourDisplay() const { return highColourDisplay_; }
    const QString& StartDirectory() const { return startDirectory_; }
    int TipIndex() const { return tipIndex_; }
    bool TipsAtStart() const { return tipsAtStart_; }
    int HelpContext() const { return helpContext_; }

    QAction* menuAction(const QString& name) const { return actions_.value(name); }
    SoundPanel* Pan_Valg() const { return panValg_; }
    MiniPicture* ImageMini() const { return imageMini_; }
    ActivityLamps* ImageEndeH() const { return imageEndeH_; }
    QLabel* PanStatus() const { return panStatus_; }

    // Window caption of the current module: " H A R M I K - " and the module's title.
    static QString ModuleCaption(int module);

    // The long part of the hint under the mouse, shown in the status panel.
    void DisplayHint(const QString& longHint);

    // Menu commands.
    void Luk1Click();
    void mVisTitelClick();
    void mOmHarmikClick();
    void mHomepageClick();

    // The confirmation of closing; true when the user says Yes.
    bool FormCloseQuery();
    // Releases the devices and saves the settings and the top-ten table. Returns false when a
    // file could not be written (the user has been told which and why).
    bool FormClose();

    // The window state the settings ask for at the first showing.
    bool startsMaximized() const { return settings_.ExerciseOptions.WinMaximized != 0; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(int bitsPerPixel);
    void ProgramInit();
    void applyColourDepth(const ColourDepthDecision& d);
    void buildLayout();
    void StringInit();
    void connectMenu();
    void applyWindowBounds();
    void applyLoadedSettings();
    void applyStatusBar();
    void SaveSettings();
    void openSoundPanel();

    SettingsRecord settings_;
    TopTenTable topTen_;
    CursorTable cursors_;
    bool highColourDisplay_ = true;
    QString startDirectory_;
    int tipIndex_ = -1;
    bool tipsAtStart_ = true;
    int helpContext_ = 0;
    bool closeConfirmed_ = false;

    QHash<QString, QAction*> actions_;
    HintTiming* hintTiming_ = nullptr;
    SoundPanel* panValg_ = nullptr;
    MiniPicture* imageMini_ = nullptr;
    ActivityLamps* imageEndeH_ = nullptr;
    QLabel* panStatus_ = nullptr;
    QLabel* credits_ = nullptr;
    QWidget* freeArea_ = nullptr;
};

} // namespace harmik
