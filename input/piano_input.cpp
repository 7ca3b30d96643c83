#include "input/piano_input.h"

#include "input/cursor_table.h"
#include "input/fretboard_widget.h"
#include "input/piano_geometry.h"
#include "input/piano_widget.h"
#include "theory/item_names.h"
#include "theory/module_id.h"
#include "theory/progression_table.h"
#include "userdata/messages.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QAction>
#include <QMenu>

#include <set>

namespace harmik {

namespace {
constexpr int kHandCursor = 1;
constexpr int kDrumCursor = 7;
} // namespace

PianoInput::PianoInput(SettingsRecord& settings, const ItemNameList& names, PianoPicture* piano,
                       FretboardPicture* fretboard, const CursorTable* cursors, QObject* parent)
    : QObject(parent), settings_(settings), names_(names), piano_(piano), fretboard_(fretboard),
      cursors_(cursors) {
    buildMenu();
    if (piano_) {
        connect(piano_, &PianoPicture::pressed, this,
                [this](QPointF pos, Qt::MouseButton button, qint64 timestamp) {
                    Image_KlaverMouseDown(pos, button, timestamp);
                });
        connect(piano_, &PianoPicture::released, this, &PianoInput::Image_KlaverMouseUp);
    }
    if (fretboard_) {
        connect(fretboard_, &FretboardPicture::pressed, this,
                [this](QPoint pos, Qt::MouseButton button, qint64 timestamp) {
                    Image_guitarMouseDown(pos, button, timestamp);
                });
        connect(fretboard_, &FretboardPicture::released, this, &PianoInput::Image_KlaverMouseUp);
    }
    updateCursor();
}

PianoInput::~PianoInput() {
    delete popup_;
}

// The chord-type menu offers the chord types the progressions are built from, under their
// chord names; an item's data is its chord type.
void PianoInput::buildMenu() {
    popup_ = new QMenu();
    popup_->setObjectName(QStringLiteral("PopupProgress"));
    std::set<int> types;
    for (const ProgressionRecord& record : ProgressionTable)
        for (const ProgressionChord& chord : record.chords())
            types.insert(namedChordType(chord.ChordType));
    for (int type : types) {
        QAction* item =
            popup_->addAction(QString::fromStdString(names_.name(ModuleId::Chords, type)));
        item->setData(type);
        connect(item, &QAction::triggered, this, [this, type] { PopDurClick(type); });
    }
    // A menu closed without a choice must not leave its key held.
    connect(popup_, &QMenu::aboutToHide, this, [this] {
        if (menuNoteHeld_) {
            menuNoteHeld_ = false;
            setNoteHeld(heldKey_, false);
        }
    });
}

int PianoInput::module() const {
    const int m = settings_.CurrentModule;
    return m;
}

void PianoInput::setTaskState(bool running, bool answered) {
    taskRunning_ = running;
    answered_ = answered;
}

void PianoInput::updateCursor() {
    if (!cursors_ || !piano_)
        return;
    piano_->setCursor(cursors_->cursor(
        module() == static_cast<int>(ModuleId::Rhythm) ? kDrumCursor : kHandCursor));
}

void PianoInput::drumPress(qint64 timestamp) {
    if (taskRunning_)
        emit rhythmTap(timestamp);
    drumDown_ = true;
    emit drumOn();
}

void PianoInput::Image_KlaverMouseDown(QPointF pos, Qt::MouseButton button, qint64 timestamp) {
    if (!piano_)
        return;
    if (module() == static_cast<int>(ModuleId::Rhythm)) {
        drumPress(timestamp);
        return;
    }
    heldKey_ = 0;
    const int w = piano_->width();
    const int h = piano_->height();
    const int note = pianoNoteAt(pos.x(), pos.y(), w, h);
    if (note == 0)
        return;
    const int yKeys = static_cast<int>(pos.y()) - (h - pianoKeyHeight(h));
    press(note, button, piano_->mapToGlobal(QPoint(static_cast<int>(pos.x()) - 5, yKeys + 50)));
}

void PianoInput::Image_guitarMouseDown(QPoint pos, Qt::MouseButton button, qint64 timestamp) {
    if (!fretboard_)
        return;
    if (module() == static_cast<int>(ModuleId::Rhythm)) {
        drumPress(timestamp);
        return;
    }
    heldKey_ = 0;
    const FretPress hit =
        fretboardPressAt(pos.x(), pos.y(), fretboard_->height(), fretboard_->fretX());
    if (hit.Note == 0)
        return;
    press(hit.Note, button, fretboard_->mapToGlobal(pos));
    MarkKey(hit.Note, hit.Fret, hit.String);
}

void PianoInput::press(int note, Qt::MouseButton button, QPoint menuPos) {
    heldKey_ = note;
    chosenChordType_ = -1;
    mouseDown_ = true;
    const bool menu = module() == static_cast<int>(ModuleId::Progressions) &&
                      button == Qt::RightButton && taskRunning_ && !answered_;
    setNoteHeld(note, true);
    if (menu) {
        menuNoteHeld_ = true;
        popup_->popup(menuPos);
    } else {
        emit noteOn(note);
    }
}

void PianoInput::Image_KlaverMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    if (drumDown_) {
        drumDown_ = false;
        emit drumOff();
        return;
    }
    if (!mouseDown_ || heldKey_ <= 0)
        return;
    mouseDown_ = false;
    const int note = heldKey_;
    emit noteOff(note);

    const int m = module();
    if ((modifiers & Qt::ControlModifier) && !taskRunning_ && isValidModule(m) &&
        (button == Qt::LeftButton || button == Qt::RightButton)) {
        const auto index = static_cast<std::size_t>(m - 1);
        int lowest = settings_.LowestNote[index];
        int highest = settings_.HighestNote[index];
        const int message = applyRangeLimit(button == Qt::LeftButton, note, lowest, highest);
        settings_.LowestNote[index] = lowest;
        settings_.HighestNote[index] = highest;
        if (message != 0) {
            MessageRequest request;
            request.type = MessageType::Information;
            request.buttons = MessageButtons::Ok;
            request.text = LoadStr(message);
            ShowMessage(piano_ ? piano_->window() : nullptr, request);
        }
        redrawInstruments();
        emit rangeChanged();
    }

    setNoteHeld(note, false);
    const bool listen = settings_.MidiListen != 0;
    if (taskRunning_ && listen && !answered_)
        emit answer(note, kSourcePianoKey);
}

void PianoInput::PopDurClick(int chordType) {
    const bool listen = settings_.MidiListen != 0;
    if (!taskRunning_ || !listen || answered_)
        return;
    menuNoteHeld_ = false;
    setNoteHeld(heldKey_, false);
    chosenChordType_ = chordType;
    emit answer(heldKey_, kSourceChordMenu);
}

void PianoInput::MarkKey(int note, int fret, int string) {
    if (piano_)
        piano_->addMark(note);
    if (fretboard_)
        fretboard_->addMark(note, fret, string);
}

void PianoInput::redrawInstruments() {
    const int m = module();
    if (piano_) {
        piano_->clearMarks();
        piano_->setOctaveBar(0);
        if (isValidModule(m)) {
            const auto index = static_cast<std::size_t>(m - 1);
            const int lowest = settings_.LowestNote[index];
            const int highest = settings_.HighestNote[index];
            piano_->setRange(lowest, highest);
        }
    }
    if (fretboard_)
        fretboard_->clearMarks();
    updateCursor();
}

void PianoInput::CheckPianoClick(bool show) {
    settings_.ShowPiano = show ? 1 : 0;
    if (piano_)
        piano_->setVisible(show);
    emit layoutRequested();
    redrawInstruments();
}

void PianoInput::CheckFretClick(bool show) {
    settings_.ShowFretboard = show ? 1 : 0;
    if (fretboard_)
        fretboard_->setVisible(show);
    emit layoutRequested();
    redrawInstruments();
}

void PianoInput::setNoteHeld(int note, bool held) {
    if (note < 0 || note > 127)
        return;
    noteHeld_[static_cast<std::size_t>(note)] = held;
    refreshStatus();
}

void PianoInput::clearNoteHeld() {
    noteHeld_.fill(false);
    refreshStatus();
}

QString PianoInput::chordText() const {
    const bool german = settings_.GermanNaming != 0;
    return QString::fromStdString(BuildChordSymbol(noteHeld_, names_, german));
}

void PianoInput::refreshStatus() {
    if (piano_)
        piano_->setHeld(noteHeld_);
    emit statusText(chordText());
}

} // namespace harmik
