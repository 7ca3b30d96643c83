#pragma once
#include "userdata/profile_record.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;

namespace harmik {

struct TutorIndexRead;

// What the profile dialog works on: the active profile, whether it differs from its file, and
// the path of the profile file (the settings' LastProfile).
struct ProfileContext {
    ProfileRecord& Profile;
    bool& ProfileModified;
    ShortString<255>& LastProfile;
};

// The file filter of profile files ("Harmik данные (*.HKP *.hkp)") and of tutor index files.
QString ProfileFileFilter();
QString TutorFileFilter();

// TProfilDialog: the user's name, the tutor with its information, the level reached in each
// module, and New, Load and Save of profile files. It edits a working copy (ProfileEdit); OK
// makes it the active profile, Cancel or Escape drops it. Save and Load act on the active
// profile at once.
class TProfilDialog : public QDialog {
    Q_OBJECT
public:
    TProfilDialog(ProfileContext context, QWidget* parent = nullptr);

    const ProfileRecord& ProfileEdit() const { return edit_; }
    const QString& CurrentProfilePath() const { return currentPath_; }

    // The buttons. Save, Load and Change ask the desktop's file dialog for the file, then run
    // the ...To / ...From step with it.
    void BtnNyClick();
    void BtnGemClick();
    void BtnHentClick();
    void BitBtnSkiftClick();
    void BitBtnBeskrivClick();
    void OKBtnClick();

    // Writes the working copy to the file; false (the user has been told) when it failed.
    bool SaveTo(const QString& path);
    // Loads a profile file; false (the user has been told) when it was refused.
    bool LoadFrom(const QString& path);
    // Takes the tutor of an index file; false (the user has been told) when it was refused,
    // with the dialog as it was.
    bool ChangeTutorTo(const QString& path);

    QLineEdit* EditNavn() const { return editNavn_; }
    QLineEdit* EditTutSet() const { return editTutSet_; }
    QSlider* LevelSlider(int m) const { return sliders_[static_cast<std::size_t>(m - 1)]; }
    QLabel* LabNiv(int m) const { return levelLabels_[static_cast<std::size_t>(m - 1)]; }
    QPushButton* BtnNy() const { return btnNy_; }
    QPushButton* BtnHent() const { return btnHent_; }
    QPushButton* BtnGem() const { return btnGem_; }
    QPushButton* OKBtn() const { return okBtn_; }
    QPushButton* CancelBtn() const { return cancelBtn_; }
    QToolButton* BitBtnSkift() const { return bitBtnSkift_; }
    QToolButton* BitBtnBeskriv() const { return bitBtnBeskriv_; }

private:
    void build();
    void showProfile(const ProfileRecord& p);
    // A tutor index read into the dialog: the title, the level maxima, the information, the name.
    void UpdateMax(const TutorIndexRead& read);
    void setSlider(int m, int max, int position);
    void Refresh();
    void Compare();

    ProfileContext ctx_;
    ProfileRecord edit_;
    QString currentPath_;
    QString tutorInfoText_;
    QString tutorNameEdit_;

    QLineEdit* editNavn_ = nullptr;
    QLineEdit* editTutSet_ = nullptr;
    std::array<QSlider*, 7> sliders_{};
    std::array<QLabel*, 7> levelLabels_{};
    QPushButton* btnNy_ = nullptr;
    QPushButton* btnHent_ = nullptr;
    QPushButton* btnGem_ = nullptr;
    QPushButton* okBtn_ = nullptr;
    QPushButton* cancelBtn_ = nullptr;
    QToolButton* bitBtnSkift_ = nullptr;
    QToolButton* bitBtnBeskriv_ = nullptr;
};

} // namespace harmik
