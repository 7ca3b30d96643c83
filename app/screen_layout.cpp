// Where the main window's parts stand for the current module and window size: the module
// buttons and the clock along the top, the piano, guitar and staff along the foot with the
// transport panel and the credits above them, the exercise panel on the left, and the answer
// panel with its option groups (or the melody groups) in the rest.
#include "app/screen_layout.h"

#include "app/activity_lamps.h"
#include "app/exercise_options.h"
#include "app/help_commands.h"
#include "app/instrument_panel.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/module_buttons.h"
#include "app/rhythm_options.h"
#include "app/rhythm_screen.h"
#include "app/score_panel.h"
#include "app/sound_panel.h"
#include "app/tab_order.h"
#include "app/transport_panel.h"
#include "app/tutor_control.h"
#include "input/answer_layout.h"
#include "input/answer_panel.h"
#include "input/staff_geometry.h"
#include "input/staff_widget.h"
#include "theory/module_id.h"
#include "userdata/tuning_fork_picture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include <cmath>
#include <vector>

namespace harmik {
namespace {

constexpr int kStaffPanelHeight = 124; // the staff picture (120) and a little paper round it
constexpr int kStaffPanelRightGap = 38;

constexpr int kMargin = 4;

constexpr int kSmallestOptionPoints = 6;

// A group's type and its items' (set on each: a group with a style sheet of its own does not
// hand its font down).
void setPoints(QWidget* w, double points) {
    QFont f = w->font();
    f.setPointSizeF(std::max<double>(kSmallestOptionPoints, std::round(points)));
    w->setFont(f);
    for (QWidget* child : w->findChildren<QWidget*>())
        child->setFont(f);
}

// Tick marks as high as the group's text, so that the items of a group in small type stand
// closer together; a group in its normal type keeps the style's own marks.
void setCompactMarks(QWidget* group, bool compact) {
    QString sheet;
    if (compact) {
        const int mark = std::max(8, QFontMetrics(group->font()).height() - 3);
        sheet = QStringLiteral("QRadioButton::indicator, QCheckBox::indicator { width: %1px; "
                               "height: %1px; } QRadioButton, QCheckBox { spacing: 3px; }")
                    .arg(mark);
    }
    if (group->styleSheet() != sheet)
        group->setStyleSheet(sheet);
}

// The option groups beside the answer panel: where the layout gives them, each at least as
// high as its items need; when they do not fit in one column they stand side by side, and when
// they do not fit at all, their fonts are made smaller together.
bool placeOptionGroups(ExerciseOptionsPanel& options, const PanelLayout& layout, int clientWidth,
                       const QFont& windowFont, double smallestPoints, int bottom = -1) {
    const OptionGroupLayout& o = layout.Options;
    // In the order they stack from the panel's foot; the item groups stand at its top.
    std::vector<std::pair<QWidget*, PanelRect>> groups;
    const auto add = [&groups](QWidget* g, const PanelRect& r) {
        if (!g->isHidden() && r.Height > 0)
            groups.emplace_back(g, r);
    };
    add(options.RadioAfspil(), o.RadioAfspil);
    add(options.GroupGrundtone(), o.GroupGrundtone);
    add(options.RadioOmfang(), o.RadioOmfang);
    add(options.RadioOpNed(), o.RadioOpNed);
    add(options.GroupBelig(), o.GroupBelig);
    if (layout.Module == 5)
        add(options.GroupKadence(), o.GroupKadence);
    add(options.GroupKvalitet(), o.GroupKvalitet);
    if (options.RadioOpNed()->isVisible() && o.RadioOpNed.Height <= 0)
        options.RadioOpNed()->setGeometry(0, 0, 0, 0);
    if (groups.empty())
        return true;

    options.ComboGrundtone()->setMinimumWidth(0);
    const double basePoints = windowFont.pointSizeF();
    const int left = layout.Panel.right() - 2;
    std::vector<PanelRect> rects;
    for (double scale = 1.0;; scale -= 0.08) {
        for (auto& [g, r] : groups) {
            setCompactMarks(g, scale < 1.0);
            setPoints(g, basePoints * scale);
            if (g == options.GroupKvalitet())
                for (int k = 1; k <= options.GroupKvalitet()->shownGroups(); ++k)
                    setPoints(options.CheckKval(k), std::max(1, o.KvalitetFontSize) * scale);
        }
        // The play styles stand in two columns where there is room, else in one.
        RadioGroupBox* kadence = options.GroupKadence();
        kadence->setColumns(2);
        if (kadence->minimumSizeHint().width() > clientWidth - left)
            kadence->setColumns(1);
        std::vector<OptionGroupNeed> needs;
        for (const auto& [g, r] : groups) {
            const QSize least = g->minimumSizeHint();
            needs.push_back({r, least.width(), least.height(), g == options.GroupKvalitet()});
        }
        rects = FitOptionGroups(needs, left, layout.Panel.Top,
                                bottom < 0 ? layout.Panel.bottom() : bottom, clientWidth);
        if (!rects.empty() || basePoints * (scale - 0.08) < smallestPoints)
            break;
    }
    for (std::size_t i = 0; i < groups.size(); ++i)
        groups[i].first->setGeometry(toQRect(rects.empty() ? groups[i].second : rects[i]));
    QComboBox* combo = options.ComboGrundtone();
    combo->setMinimumWidth(
        std::min(options.GroupGrundtone()->width() / 2, options.GroupGrundtone()->width() - 12));
    return !rects.empty();
}

} // namespace

// Melodies: the melody group centred in the area right of the exercise panel, with the cadence
// group below it; the key label and the fifth buttons above them. Rhythm: the fifth buttons
// step the time signature and stand at the top of the area.
void ScreenLayout::placeMelodyAndKeyControls(int menuHeight, int oveWidth, int bottom) {
    const int m = w_.Settings().CurrentModule;
    const int areaLeft = oveWidth;
    const int areaWidth = w_.centralWidget()->width() - oveWidth;
    QWidget* up = w_.MelodyOptions()->BitBtnKvintOp();
    QWidget* down = w_.MelodyOptions()->BitBtnKvintNed();
    QLabel* key = w_.MelodyOptions()->LabelToneart();
    const int buttonsTop = menuHeight + 6;
    down->move(areaLeft + 10, buttonsTop);
    up->move(down->x() + down->width() + 4, buttonsTop);
    key->adjustSize();
    key->move(up->x() + up->width() + 10, buttonsTop + (up->height() - key->height()) / 2);
    if (m != 6)
        return;
    QWidget* melody = w_.MelodyOptions()->GroupMelodi();
    RadioGroupBox* kadence = w_.Options()->GroupKadence();
    kadence->setColumns(2);
    kadence->setFont(w_.font());
    const QSize melodySize = melody->sizeHint();
    const QSize kadenceSize(275, kadence->sizeHint().height());
    const int areaTop = buttonsTop + up->height() + 4;
    const int total = melodySize.height() + kadenceSize.height();
    const int top = areaTop + std::max(0, (bottom - areaTop - total) / 2);
    melody->setGeometry(areaLeft + (areaWidth - melodySize.width()) / 2, top, melodySize.width(),
                        melodySize.height());
    kadence->setGeometry(areaLeft + (areaWidth - kadenceSize.width()) / 2,
                         top + melodySize.height(), kadenceSize.width(), kadenceSize.height());
}

void ScreenLayout::placeStaffAndInstruments(int w, int h, int statusHeight) {
    const bool both = w_.Settings().ShowPiano != 0 && w_.Settings().ShowFretboard != 0;
    const int pianoHeight = static_cast<int>(std::nearbyint(h / (both ? 3.5 : 5.0)));
    const int pianoTop = h - pianoHeight - statusHeight;
    w_.Pan_Klaver()->setGeometry(0, pianoTop, w, pianoHeight);
    w_.Pan_Klaver()->placeContents(w_.Settings().ShowPiano != 0, w_.Settings().ShowFretboard != 0);
    const int staffWidth = std::max(0, w - kStaffPanelRightGap);
    // Progressions write only their labels on the paper, without staff lines: a smaller
    // picture serves them and leaves the room to the answer panel's option groups.
    int pictureHeight = StaffPictureHeight(w, h);
    if (isModule(w_.Settings().CurrentModule, ModuleId::Progressions))
        pictureHeight = pictureHeight * 3 / 4;
    const int panelHeight = pictureHeight + kStaffPanelHeight - kStaffHeight;
    w_.Pan_Staff()->setGeometry(0, pianoTop - panelHeight, staffWidth, panelHeight);
    w_.ImageStaff()->setGeometry(0, (panelHeight - pictureHeight) / 2, staffWidth, pictureHeight);
}

void ScreenLayout::EarDoScreen() {
    placeControls();
    OrderTabsByScreen(&w_);
}

void ScreenLayout::placeControls() {
    QWidget* central = w_.centralWidget();
    if (central == nullptr || w_.ModuleButtons() == nullptr || w_.Pan_Klaver() == nullptr)
        return;
    const int w = central->width();
    const int h = central->height();
    const int status = w_.Settings().StatusBar ? 1 : 0;
    const int statusHeight = 16 * status;
    const int menuHeight = w_.ModuleButtons()->sizeHint().height();

    // The module buttons along the top, the practice clock at their right and the help button
    // at the window's right edge.
    const QSize clockSize = w_.LabTime()->sizeHint();
    int clockLeft = w - clockSize.width() - 50;
    if (w_.HelpMenu() != nullptr) {
        QWidget* help = w_.HelpMenu()->BitBtnHelp();
        const int side = std::min(menuHeight, 28);
        help->setGeometry(w - side - 2, (menuHeight - side) / 2, side, side);
        clockLeft = std::min(clockLeft, help->x() - clockSize.width() - 8);
    }
    const int tutorLeft = w_.Tutor()->Place(clockLeft - 8, menuHeight);
    w_.ModuleButtons()->setGeometry(0, 0, std::max(0, tutorLeft - 10), menuHeight);
    w_.LabTime()->setGeometry(clockLeft, (menuHeight - clockSize.height()) / 2, clockSize.width(),
                              clockSize.height());
    w_.PanStatus()->setGeometry(0, h - statusHeight, w, statusHeight);

    // Along the foot: the piano and guitar, the staff above them, the transport panel above
    // the staff on the left and the credits on the right.
    placeStaffAndInstruments(w, h, statusHeight);
    const int staffTop = w_.Pan_Staff()->y();
    // The tuning fork in the gap right of the staff.
    if (w_.ImageStemGafl() != nullptr)
        w_.ImageStemGafl()->setGeometry(w_.Pan_Staff()->width(), staffTop, kStaffPanelRightGap,
                                        std::min(90, w_.Pan_Staff()->height()));
    const QSize transportSize = w_.PanelTransport()->sizeHint();
    const int footTop = std::max(menuHeight, staffTop - transportSize.height());
    w_.PanelTransport()->setGeometry(0, footTop, transportSize.width(), transportSize.height());
    const QSize creditsSize = w_.LabCredits()->sizeHint();
    w_.LabCredits()->setGeometry(w - creditsSize.width() - 8, staffTop - creditsSize.height() - 2,
                                 creditsSize.width(), creditsSize.height());
    w_.LabCredits()->show();
    if (w_.Pan_Valg()->isVisible()) {
        w_.Pan_Valg()->adjustSize();
        w_.Pan_Valg()->move(
            std::max(0, w_.width() - w_.Pan_Valg()->width() - 25),
            std::max(menuHeight, w_.Pan_Klaver()->y() - w_.Pan_Valg()->height() + 40));
        w_.Pan_Valg()->raise();
    }

    // The exercise panel on the left, between the module buttons and the transport panel.
    const int oveWidth = std::max(150, w_.Pan_Ove()->sizeHint().width());
    w_.Pan_Ove()->setGeometry(0, menuHeight, oveWidth, std::max(0, footTop - menuHeight));

    // The melody groups end above the credits where these stand below them.
    placeMelodyAndKeyControls(menuHeight, oveWidth, std::min(staffTop, w_.LabCredits()->y()));
    if (w_.Settings().CurrentModule < 1 || w_.Settings().CurrentModule == 6) {
        w_.Group_Problem()->hide();
        return;
    }
    PanelLayoutInput in;
    in.ClientWidth = w;
    // The transport panel stands on the left above the staff: the answer panel and its option
    // groups end above it.
    in.ClientHeight = h - transportSize.height();
    in.WindowWidth = w_.width();
    in.StaffHeight = w_.Pan_Staff()->height();
    in.PianoHeight = w_.Pan_Klaver()->height();
    in.MenuHeight = menuHeight;
    in.OveWidth = oveWidth;
    in.StatusBar = status;
    in.KvalitetTag = w_.Options()->GroupKvalitet()->shownGroups();
    in.AfspilTag = w_.Options()->RadioAfspil()->count();
    in.OpNedEnabled = w_.Options()->RadioOpNed()->isEnabled();
    // The option groups first take the room beside the panel and smaller fonts; where that is
    // not enough, the panel is laid out narrower, as for a narrower window.
    PanelLayout layout = w_.Group_Problem()->EarDoProblemGroup(in);
    if (w_.Settings().CurrentModule <= 5) {
        const double points = w_.font().pointSizeF();
        const int narrowest = w * 3 / 5;
        bool fits = placeOptionGroups(*w_.Options(), layout, w, w_.font(), points * 0.8);
        while (!fits && in.ClientWidth > narrowest) {
            PanelLayoutInput narrower = in;
            narrower.ClientWidth = std::max(narrowest, in.ClientWidth - w / 20);
            const PanelLayout tried = w_.Group_Problem()->EarDoProblemGroup(narrower);
            if (!w_.Group_Problem()->captionsFit()) {
                layout = w_.Group_Problem()->EarDoProblemGroup(in);
                break;
            }
            in = narrower;
            layout = tried;
            fits = placeOptionGroups(*w_.Options(), layout, w, w_.font(), points * 0.8);
        }
        // Still too little room: the option groups take the foot of the window down to the
        // staff too, and the credits stand left of them where they fit.
        bool footTaken = false;
        if (!fits) {
            footTaken = placeOptionGroups(*w_.Options(), layout, w, w_.font(), 6.0, staffTop - 2);
            if (!footTaken)
                placeOptionGroups(*w_.Options(), layout, w, w_.font(), 6.0);
        }
        if (footTaken) {
            const int right = layout.Panel.right() - 8;
            w_.LabCredits()->move(right - creditsSize.width(), w_.LabCredits()->y());
            w_.LabCredits()->setVisible(w_.LabCredits()->x() >=
                                        w_.PanelTransport()->geometry().right() + 8);
        }
    }
    const bool rhythm = w_.Settings().CurrentModule == 7;
    w_.RhythmOptions()->ShowRhythmPictures(rhythm && layout.RhythmPicturesShown);
    if (rhythm)
        w_.RhythmOptions()->PlaceOnAnswerPanel(layout.PanRytmeTop);
    const bool panelShown = !(rhythm && w_.Session().running());
    w_.Group_Problem()->setVisible(panelShown);
    w_.RhythmView()->place();
}

} // namespace harmik
