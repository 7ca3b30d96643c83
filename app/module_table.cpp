#include "app/module_table.h"

#include "input/cursor_table.h"
#include "userdata/strings.h"

namespace harmik {
namespace {

constexpr int kInversionLabelPattern = 261; // "%d. обращ."
constexpr int kRangeLabelFirst = 120;       // "+1 " before it
constexpr int kRangeLabelSecond = 121;      // "+2 " before it
constexpr int kMelodyKvintUpHint = 3205;
constexpr int kMelodyKvintDownHint = 3206;
constexpr int kRhythmPreviousMetreHint = 447;
constexpr int kRhythmNextMetreHint = 448;

// The chord captions, which the inversions show too (without sets: their group stays hidden).
constexpr std::array<ItemGroupDef, kItemGroupCount> kChordGroups = {{
    {323, "111111"},
    {324, "000000111111"},
    {325, "000000000000111111111111111111"},
    {326, "000000000000000000000000000000111111111111111111"},
    {},
}};

constexpr std::array<ItemGroupDef, kItemGroupCount> kInversionGroups = {{
    {323, {}},
    {324, {}},
    {325, {}},
    {326, {}},
    {},
}};

// Index module - 1.
const std::array<ModuleTableEntry, 7> kModules = {{
    {"SpeedInterval",
     "mIntervaller",
     1708,
     11,
     600,
     36,
     CursorPen,
     3035,
     3000,
     3,
     {{
         {300, "100001010000100001010000100001010000"},
         {301, "000110001100000110001100000110001100"},
         {302, "011000100011011000100011011000100011"},
         {},
         {},
     }}},
    {"SpeedSkala",
     "mSkalaer",
     1709,
     12,
     601,
     28,
     CursorNoPen,
     3037,
     3001,
     5,
     {{
         {315, "1001100001011000111000010100"},
         {316, "0110011110100111000111100011"},
         {317, "1111111"},
         {318, "111111111111111111111"},
         {319, "0000000000000000000001111"},
     }}},
    {"SpeedAkkord", "mAkkorder", 1710, 13, 602, 48, CursorPen, 3035, 3002, 4, kChordGroups},
    {"SpeedOmvending", "mOmvendinger", 1711, 14, 607, 35, CursorPen, 3035, 3007, 4,
     kInversionGroups},
    {"SpeedProgress",
     "mProgression",
     1712,
     17,
     605,
     48,
     CursorNoPen,
     3037,
     3005,
     3,
     {{
         {330, "111111111111111111111111"},
         {331, "000000000000000000000000111111111111"},
         {332, "000000000000000000000000000000000000111111111111"},
         {},
         {},
     }}},
    {"SpeedMelodi", "mMelodier", 1713, 15, 0, 0, CursorPen, 3035, 3003, 0, {}},
    {"SpeedRytme", "mRytme", 1714, 16, 604, 12, CursorNoPen, 3036, 3004, 0, {}},
}};

bool between(int m, int low, int high) {
    return m >= low && m <= high;
}

} // namespace

const ModuleTableEntry& ModuleEntry(int m) {
    if (m < 1 || m > 7)
        m = 1;
    return kModules[static_cast<std::size_t>(m - 1)];
}

std::vector<int> ItemGroupBoxes(int m, int g) {
    std::vector<int> boxes;
    if (g < 1 || g > kItemGroupCount)
        return boxes;
    const std::string_view set = ModuleEntry(m).itemGroups[static_cast<std::size_t>(g - 1)].set;
    for (std::size_t i = 0; i < set.size() && i < 51; ++i)
        if (set[i] == '1')
            boxes.push_back(static_cast<int>(i));
    return boxes;
}

OptionGroupVisibility IdleOptionGroups(int m) {
    OptionGroupVisibility v;
    v.GroupKvalitet = m == 1 || m == 3 || m == 5;
    v.RadioOpNed = m == 1;
    v.RadioOmfang = m == 1;
    v.GroupGrundtone = between(m, 1, 5);
    v.RadioAfspil = between(m, 1, 5);
    v.GroupBelig = m == 3;
    v.GroupMelodi = m == 6;
    v.GroupKadence = m == 5 || m == 6;
    v.BitBtnKvint = m == 6 || m == 7;
    v.Group_Problem = m != 6;
    v.RhythmPanel = m == 7;
    return v;
}

RangeLabels RangeLabelsShown(int range) {
    return {range >= 1, range >= 2};
}

int RootNoteForItem(int item) {
    if (item < 0)
        item = 0;
    if (item > kRandomRootItem)
        item = kRandomRootItem;
    return 60 + item;
}

int RootItemForNote(int rootNote) {
    if (rootNote == kRandomRootNote)
        return kRandomRootItem;
    return ((rootNote % 12) + 12) % 12;
}

ModuleScreenSetup DescribeModuleScreen(int m, int rootItem, int range) {
    if (m < 1 || m > 7)
        m = 1;
    const ModuleTableEntry& e = ModuleEntry(m);
    ModuleScreenSetup s;
    s.module = m;
    s.caption = QStringLiteral(" H A R M I K - ") + LoadStr(e.titleId);
    s.helpContext = e.helpTopic;
    s.staffCursor = e.staffCursor;
    s.staffHintId = e.staffHintId;
    s.pianoCursor = m == 7 ? CursorDrum : CursorHand;
    s.hasAnswerPanel = e.answerCaptionId != 0;
    s.answerCaption = s.hasAnswerPanel ? LoadStr(e.answerCaptionId) : QString();
    s.answerBoxCount = e.answerBoxCount;
    s.visible = IdleOptionGroups(m);
    s.itemGroupCount = s.visible.GroupKvalitet ? e.itemGroupCount : 0;
    for (int g = 0; g < e.itemGroupCount; ++g)
        s.itemGroupCaptions[static_cast<std::size_t>(g)] =
            LoadStr(e.itemGroups[static_cast<std::size_t>(g)].captionId);

    if (m == 4) {
        for (int k = 0; k < 4; ++k) {
            s.labOktavVisible[static_cast<std::size_t>(k)] = true;
            s.labOktavText[static_cast<std::size_t>(k)] =
                FormatStr(kInversionLabelPattern, {k + 1});
        }
    } else if (m == 1) {
        const RangeLabels shown = RangeLabelsShown(range);
        s.labOktavVisible[0] = shown.LabOktav1;
        s.labOktavVisible[1] = shown.LabOktav2;
        s.labOktavText[0] = QStringLiteral("+1 ") + LoadStr(kRangeLabelFirst);
        s.labOktavText[1] = QStringLiteral("+2 ") + LoadStr(kRangeLabelSecond);
    }

    if (m == 6) {
        s.kvintUpHintId = kMelodyKvintUpHint;
        s.kvintDownHintId = kMelodyKvintDownHint;
    } else if (m == 7) {
        s.kvintUpHintId = kRhythmPreviousMetreHint;
        s.kvintDownHintId = kRhythmNextMetreHint;
    }

    s.RootNote = RootNoteForItem(rootItem);
    s.RandomRoot = s.RootNote == kRandomRootNote;
    return s;
}

} // namespace harmik
