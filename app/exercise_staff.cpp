#include "app/exercise_staff.h"

#include "input/staff_geometry.h"
#include "input/staff_widget.h"
#include "theory/item_names.h"
#include "theory/keys.h"
#include "theory/module_id.h"
#include "theory/note_names.h"
#include "theory/progression.h"
#include "theory/theory_tables.h"
#include "userdata/strings.h"

#include <QFont>
#include <algorithm>
#include <cstdlib>

namespace harmik {
namespace {

constexpr int kIntervals = moduleNumber(ModuleId::Intervals);
constexpr int kScales = moduleNumber(ModuleId::Scales);
constexpr int kChords = moduleNumber(ModuleId::Chords);
constexpr int kInversions = moduleNumber(ModuleId::Inversions);
constexpr int kProgressions = moduleNumber(ModuleId::Progressions);
constexpr int kMelodies = moduleNumber(ModuleId::Melodies);

constexpr int kNameRow = -2;           // names of single notes and intervals, over the staff
constexpr int kItemNameRow = 104;      // names of chords and inversions, under the staff
constexpr int kLabelRow = 24;          // progression labels
constexpr int kChordNameRow = 44;      // progression chord names, under their labels
constexpr int kRightMargin = 4;        // the staff keeps this much free at its right edge
constexpr int kScaleNoteDistance = 30; // pixels between the notes of a scale
constexpr int kScaleBarAdvance = 35;
constexpr int kMelodyBarAdvance = 35;
constexpr int kMelodyNoteDistance = 27;
constexpr int kMissRow = 1;  // a wrong note's red mark
constexpr int kRightRow = 2; // a right note's green or blue mark
constexpr int kRed = 0xFF0000;
constexpr int kGreen = 0x00C000;
constexpr int kBlue = 0x0000FF;
constexpr int kMajor = 0;
constexpr int kProgressionGap = 10;

std::string lookupString(int id) {
    return LoadStr(id).toStdString();
}

QFont labelFont() {
    QFont f(QStringLiteral("Times"));
    f.setPixelSize(15); // 11 points on the staff's own scale
    return f;
}

QFont chordNameFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16); // 12 points
    f.setBold(true);
    return f;
}

// The name of a note spelled on the flat side, as the staff writes single notes.
QString flatSideName(int note, bool germanNaming) {
    const StaffSpelling s = spellFlatSide(std::abs(note));
    const int letter = ((s.Step % 7) + 7) % 7;
    return QString::fromStdString(spelledNoteName(letter, s.Accidental - 2, germanNaming));
}

int scaleNoteCount(const ExerciseItem& item) {
    return scaleRow(std::abs(item.itemIndex)).Count;
}

} // namespace

ExerciseStaff::ExerciseStaff(StaffWidget& staff, const ItemNameList& names,
                             std::function<void(int)> MarkKey)
    : staff_(staff), names_(names), markKey_(std::move(MarkKey)) {}

void ExerciseStaff::ResetForTask(int module) {
    staff_.ResetStaff(module, 0);
    if (module == kScales || module == kMelodies)
        staff_.StaffTextX = kResetMelodyTextX;
    progressionChordsDrawn_ = 0;
}

void ExerciseStaff::SetProgressionLabels(std::vector<std::string> labels) {
    labels_ = std::move(labels);
}

void ExerciseStaff::BeginItem(int module, const ExerciseItem& item, const StaffRequest& request) {
    staff_.setModule(module);
    staff_.NulFortegnMatrix();
    if (request.MakeRoom) {
        int needed = staffColumnWidth(module) / 2;
        if (module == kScales)
            needed = kScaleNoteDistance * scaleNoteCount(item) + kScaleBarAdvance;
        else if (module == kProgressions)
            needed = progressionWidth(item);
        makeRoom(module, needed);
    }
    progressionStartX_ = staff_.StaffTextX;
    progressionChordsDrawn_ = 0;
    if (request.DrawRoot)
        drawRoot(module, item, request.RootToDraw);
}

// Scrolls whole exercises off the left: the smallest distance that brings the exercise after
// one of the bar lines to the first column and leaves enough room. Without such a bar line the
// staff starts again from the left.
void ExerciseStaff::makeRoom(int module, int needed) {
    while (staff_.scrolling())
        staff_.ScrollFrame();
    const int width = static_cast<int>(staff_.logicalWidth());
    const int overflow = staff_.StaffTextX + needed - (width - kRightMargin);
    if (overflow <= 0)
        return;
    const bool writtenInLine = module == kScales || module == kMelodies;
    const int home = writtenInLine ? kResetMelodyTextX : resetStaffTextX(module);
    const int gap = module == kScales     ? kScaleBarAdvance
                    : module == kMelodies ? kMelodyBarAdvance
                                          : staffColumnWidth(module) / 2;
    std::vector<int> bars;
    for (const StaffItem& item : staff_.items())
        if (item.Type == StaffItem::Kind::Bar)
            bars.push_back(static_cast<int>(item.X));
    std::sort(bars.begin(), bars.end());
    if (module != kProgressions) {
        for (int bar : bars) {
            const int distance = bar + gap - home;
            if (distance >= overflow && staff_.StaffTextX - distance >= home) {
                staff_.DoScroll(home - gap + 1, distance);
                return;
            }
        }
    }
    ResetForTask(module);
}

void ExerciseStaff::drawRoot(int module, const ExerciseItem& item, int signedRoot) {
    const int note = std::abs(signedRoot);
    const int x = staff_.StaffTextX;
    switch (module) {
    case kScales: {
        const int row = std::abs(item.itemIndex);
        if (row <= 20) {
            const StaffSpelling s = spellInKey(note, SetupKeySignature(item.keyTonic, kMajor));
            staff_.DrawNote(x, s.Step, s.Accidental, note, item.clef, 0);
        } else {
            staff_.DrawNoteNamed(x, note, item.clef, 0);
        }
        break;
    }
    case kInversions:
        // Only the name of the chord's root: the inversion's own notes follow.
        staff_.DrawNoteNamed(x, note, item.clef, 0);
        return;
    default:
        staff_.DrawNoteNamed(x, note, item.clef, 0);
        break;
    }
    if (markKey_)
        markKey_(signedRoot);
}

void ExerciseStaff::drawNote(const ExerciseItem& item, int note, int index) {
    staff_.DrawNoteNamed(staff_.StaffTextX, note, item.clef, index);
}

void ExerciseStaff::DrawEnteredNote(int module, const ExerciseItem& item, int index) {
    const std::vector<int> notes = ItemNotes(module, item);
    if (index < 1 || index > static_cast<int>(notes.size()))
        return;
    const int note = notes[static_cast<std::size_t>(index - 1)];
    if (module == kScales) {
        if (markKey_)
            markKey_(note);
        return;
    }
    // The root of a chord stands on the staff from the start.
    if (module == kChords && note == item.root)
        return;
    drawNote(item, note, index);
}

QString ExerciseStaff::chordNameOf(const ExerciseItem& item, int chord) const {
    return QString::fromStdString(ProgressionChordName(
        item.itemIndex, chord, pitchClass(item.keyTonic), germanNaming_, lookupString));
}

int ExerciseStaff::progressionWidth(const ExerciseItem& item) const {
    int width = 0;
    for (std::size_t k = 0; k < labels_.size(); ++k)
        width += progressionLabelAdvance(chordNameOf(item, static_cast<int>(k)).toStdString(),
                                         labels_[k]);
    return width;
}

void ExerciseStaff::DrawProgressionChord(const ExerciseItem& item, int chord) {
    if (chord < 0 || chord >= static_cast<int>(labels_.size()))
        return;
    const QString label = QString::fromStdString(labels_[static_cast<std::size_t>(chord)]);
    const QString name = chordNameOf(item, chord);
    const int x = staff_.StaffTextX;
    staff_.WriteText(x, kLabelRow, label, labelFont());
    staff_.WriteText(x, kChordNameRow, name, chordNameFont());
    staff_.StaffTextX += progressionLabelAdvance(name.toStdString(), label.toStdString());
    progressionChordsDrawn_ = std::max(progressionChordsDrawn_, chord + 1);
}

void ExerciseStaff::ShowAnswer(int module, const ExerciseItem& item,
                               const AnswerProgress& progress) {
    switch (module) {
    case kIntervals:
        showIntervalAnswer(item);
        break;
    case kScales:
        showScaleAnswer(item);
        break;
    case kChords:
    case kInversions:
        showNotesAnswer(module, item, progress);
        break;
    case kProgressions:
        showProgressionAnswer(item);
        break;
    case kMelodies:
        showMelodyAnswer(item, progress);
        break;
    default:
        break;
    }
}

void ExerciseStaff::writeName(const QString& text) {
    staff_.RewriteText(staff_.StaffTextX - 5, kNameRow, text);
}

void ExerciseStaff::showIntervalAnswer(const ExerciseItem& item) {
    const int root = std::abs(item.root);
    const int second = root + item.itemIndex;
    staff_.DrawNoteNamed(staff_.StaffTextX, second, item.clef, 1);
    if (markKey_)
        markKey_(second);
    const int low = std::min(root, second);
    const int high = std::max(root, second);
    writeName(flatSideName(low, germanNaming_) + QStringLiteral(" - ") +
              flatSideName(high, germanNaming_));
    const int column = staffColumnWidth(kIntervals);
    staff_.ShowBar(staff_.StaffTextX + column / 2, false);
    staff_.StaffTextX += column;
}

void ExerciseStaff::showScaleAnswer(const ExerciseItem& item) {
    const int row = std::abs(item.itemIndex);
    writeName(staff_.LastNoteName + QStringLiteral(" ") +
              QString::fromStdString(names_.name(ModuleId::Scales, row)));
    staff_.ShowScale(item.root, row);
    staff_.StaffTextX += kScaleNoteDistance * scaleNoteCount(item);
    staff_.ShowBar(staff_.StaffTextX, false);
    staff_.StaffTextX += kScaleBarAdvance;
}

void ExerciseStaff::showNotesAnswer(int module, const ExerciseItem& item,
                                    const AnswerProgress& progress) {
    const ModuleId id = module == kChords ? ModuleId::Chords : ModuleId::Inversions;
    staff_.WriteText(staff_.StaffTextX - 5, kItemNameRow,
                     QString::fromStdString(names_.name(id, std::abs(item.itemIndex))));
    const std::vector<int> notes = ItemNotes(module, item);
    for (std::size_t k = 1; k <= notes.size() && k < progress.hitFlags.size(); ++k) {
        if (progress.hitFlags[k])
            continue;
        const int note = notes[k - 1];
        if (module == kChords && note == item.root)
            continue;
        drawNote(item, note, static_cast<int>(k));
    }
    const int column = staffColumnWidth(module);
    staff_.ShowBar(staff_.StaffTextX + column / 2, false);
    staff_.StaffTextX += column;
}

void ExerciseStaff::showProgressionAnswer(const ExerciseItem& item) {
    for (int k = progressionChordsDrawn_; k < static_cast<int>(labels_.size()); ++k)
        DrawProgressionChord(item, k);
    // The progression column has no width of its own: the bar line stands after the last
    // chord and the next progression starts a little further on.
    staff_.ShowBar(staff_.StaffTextX - 5, false);
    staff_.StaffTextX += kProgressionGap;
}

void ExerciseStaff::BeginMelody(const ExerciseItem& item, bool reading) {
    staff_.setModule(kMelodies);
    staff_.NulFortegnMatrix();
    const int count = item.melodyNotes[0];
    makeRoom(kMelodies, kMelodyNoteDistance * count + kMelodyBarAdvance);
    staff_.MelodyTextX = staff_.StaffTextX;
    melodyWritten_ = reading;
    if (reading)
        for (int k = 1; k <= count; ++k)
            drawMelodyNote(item, k);
}

void ExerciseStaff::drawMelodyNote(const ExerciseItem& item, int k) {
    const int x = staff_.StaffTextX + kMelodyNoteDistance * k;
    staff_.DrawNoteNamed(x, item.melodyNotes[static_cast<std::size_t>(k)], item.clef, k);
}

void ExerciseStaff::DrawMelodyNote(const ExerciseItem& item, int counter, bool revealed) {
    if (counter < 1 || counter > item.melodyNotes[0])
        return;
    const int x = staff_.StaffTextX + kMelodyNoteDistance * counter;
    staff_.MarkNote(x - 5, kRightRow, revealed ? kBlue : kGreen);
    if (!melodyWritten_)
        drawMelodyNote(item, counter);
    staff_.MelodyTextX = x;
}

void ExerciseStaff::MarkMelodyMiss(int counter) {
    staff_.MarkNote(staff_.StaffTextX + kMelodyNoteDistance * (counter + 1) - 5, kMissRow, kRed);
}

void ExerciseStaff::showMelodyAnswer(const ExerciseItem& item, const AnswerProgress& progress) {
    const int count = item.melodyNotes[0];
    if (!melodyWritten_)
        for (int k = 1; k <= count && k < static_cast<int>(progress.hitFlags.size()); ++k)
            if (!progress.hitFlags[static_cast<std::size_t>(k)])
                drawMelodyNote(item, k);
    melodyWritten_ = false;
    staff_.StaffTextX += kMelodyNoteDistance * count;
    staff_.ShowBar(staff_.StaffTextX + kMelodyBarAdvance / 2, false);
    staff_.StaffTextX += kMelodyBarAdvance;
    staff_.MelodyTextX = staff_.StaffTextX;
}

void ExerciseStaff::ShowExample(int module, const ExerciseItem& item, const StaffRequest& request) {
    staff_.ResetStaff(module, 0);
    StaffRequest r = request;
    r.MakeRoom = false;
    BeginItem(module, item, r);
    ShowAnswer(module, item, AnswerProgress{});
}

} // namespace harmik
