#pragma once
#include "theory/keys.h" // kRandomRootNote
#include <QString>
#include <array>
#include <string_view>
#include <vector>

// The seven exercise modules: what each one shows on the main window when it is chosen.
namespace harmik {

constexpr int kItemGroupCount = 5; // CheckKval1 .. CheckKval5

// One item-group box: its caption and the answer boxes it ticks. Character i of the set stands
// for answer box i ("1": part of the group); boxes beyond the set's end are not touched.
struct ItemGroupDef {
    int captionId = 0;
    std::string_view set; // empty: the group ticks nothing
};

struct ModuleTableEntry {
    const char* toolButton; // objectName of the module's tool button
    const char* menuItem;   // objectName of the module's menu item
    int titleId;            // window caption after " H A R M I K - "
    int helpTopic;          // help context of the main window
    int answerCaptionId;    // caption of the answer panel; 0: the module has none
    int answerBoxCount;     // boxes in use
    int staffCursor;        // cursor slot of the staff picture
    int staffHintId;        // hint of the staff picture
    int toolButtonHintId;   // hint of the tool button
    int itemGroupCount;     // group boxes of GroupKvalitet the module has captions for
    std::array<ItemGroupDef, kItemGroupCount> itemGroups;
};

// The entry of module m (1..7). Any other number gives the intervals' entry.
const ModuleTableEntry& ModuleEntry(int m);

// The answer boxes (ascending, below 51) that item group g (1..5) of module m ticks.
std::vector<int> ItemGroupBoxes(int m, int g);

// Which option groups show on the idle screen of a module.
struct OptionGroupVisibility {
    bool GroupKvalitet = false;
    bool RadioOpNed = false;
    bool RadioOmfang = false;
    bool GroupGrundtone = false;
    bool RadioAfspil = false;
    bool GroupBelig = false;
    bool GroupMelodi = false;
    bool GroupKadence = false;
    bool BitBtnKvint = false; // BitBtnKvintOp and BitBtnKvintNed
    bool Group_Problem = false;
    bool RhythmPanel = false;
};
OptionGroupVisibility IdleOptionGroups(int m);

// The interval module's two range labels: LabOktav1 shows from two octaves on, LabOktav2 with
// three.
struct RangeLabels {
    bool LabOktav1 = false;
    bool LabOktav2 = false;
};
RangeLabels RangeLabelsShown(int range);

constexpr int kRandomRootItem = 12; // the root list's thirteenth entry

// RootNote for an entry of the root list: 60 + the entry; the last entry gives 72.
int RootNoteForItem(int item);
// The entry of the root list that shows a stored RootNote (72: the random entry).
int RootItemForNote(int rootNote);

// Everything the choice of a module decides on the main window apart from the answer boxes and
// the staff: the window applies it when the user switches module.
struct ModuleScreenSetup {
    int module = 1;
    QString caption; // " H A R M I K - " and the module's title
    int helpContext = 0;
    int staffCursor = 5;
    int staffHintId = 0;
    int pianoCursor = 1;
    bool hasAnswerPanel = true;
    QString answerCaption; // for PlaceChecks
    int answerBoxCount = 0;
    OptionGroupVisibility visible;
    int itemGroupCount = 0; // group boxes shown in GroupKvalitet
    std::array<QString, kItemGroupCount> itemGroupCaptions;
    std::array<bool, 4> labOktavVisible{}; // LabOktav1 .. LabOktav4
    std::array<QString, 4> labOktavText;
    int kvintUpHintId = 0; // hints of BitBtnKvintOp / BitBtnKvintNed; 0 where hidden
    int kvintDownHintId = 0;
    int RootNote = 60;
    bool RandomRoot = false;
};

// The screen of module m with the root list standing on rootItem and the interval range.
ModuleScreenSetup DescribeModuleScreen(int m, int rootItem, int range);

} // namespace harmik
