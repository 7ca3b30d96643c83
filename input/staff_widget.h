#pragma once
#include <optional>
#include <vector>

#include <QFont>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "input/staff_geometry.h"

class QPainter;

namespace harmik {

// The staff's glyphs, for other views that write notes the same way, in the painter's
// coordinates (6 units between two staff lines): an accidental (codes 0, 1, 3, 4 and
// kNaturalSign) whose left edge is at left, centred on the row y; a note head centred at
// (x, y); the paper background.
void drawStaffAccidental(QPainter& p, double left, double y, int code);
void drawStaffHead(QPainter& p, double x, double y);
void drawStaffPaper(QPainter& p, const QRectF& area);
// Starts a staff picture of `widgetHeight` pixels: smooth drawing, the logical staff height
// scaled to the widget, and the paper (white on a low-colour display) over `logicalWidth`.
void beginStaffPicture(QPainter& p, int widgetHeight, double logicalWidth, bool highColour);

// One thing written on the staff, kept in the picture's logical coordinates so that the
// picture is redrawn crisply at any size. X is the anchor that scrolling moves.
struct StaffItem {
    enum class Kind { Head, Accidental, Ledger, Text, Bar, OctaveBracket, Mark };
    Kind Type = Kind::Head;
    double X = 0;     // the note's x (heads, accidentals, ledgers, brackets) or the left
    double Y = 0;     // the line's row, or the note's row
    double Left = 0;  // glyph / line start relative to X
    double Right = 0; // line end relative to X
    int Code = 0;     // accidental code; bracket side (0 left, 1 right); bar: 1 when double;
                      // mark: its colour as 0xRRGGBB
    QString Text;     // texts
    std::optional<QFont> Font; // texts in their own font (chord labels); else the staff's
    int Step = 0;              // heads: staff step
    int Clef = 0;              // heads: clef
    bool Hidden = false;       // written during a scroll, shown once it ends
    bool Moving = false;       // slides with the running scroll
};

// The grand staff picture `ImageStaff`: ten lines, clefs, the melody module's key signature
// and everything the exercises write on it from left to right, with bar lines and an eased
// scroll. The picture is 120 logical pixels high and scaled uniformly to the widget's height.
class StaffWidget : public QWidget {
    Q_OBJECT
public:
    explicit StaffWidget(QWidget* parent = nullptr);

    // Display and naming options.
    void setHighColour(bool on); // paper and grey lines, or white and black
    bool highColour() const { return highColour_; }
    void setGermanNaming(bool on) { germanNaming_ = on; }
    void setModule(int module) { module_ = module; }
    int module() const { return module_; }
    // The melody module's key (signature and step accidentals); none outside it.
    void setKey(std::optional<KeyState> key);
    // The key with the accidentals in force in the current bar: a note written with an
    // accidental holds it for its step until the next bar line or reset.
    const std::optional<KeyState>& keyState() const { return key_; }

    // Clears from x0 to the right (0: the whole staff) and redraws lines, clefs and the
    // signature as the module needs them.
    void ResetStaff(int module, int x0);
    // A bar line at x - 1 (and x + 1 when double).
    void ShowBar(int x, bool doubleBar);
    // One note of an item: index 0 or 99 is a single named note, 1.. the chord notes.
    void DrawNote(int x, int step, int accidental, int note, int clef, int index);
    // The same for a note given only by its pitch: flat-side spelling, or the key's in the
    // melody module.
    void DrawNoteNamed(int x, int note, int clef, int index);
    // The notes 2..count of a scale row after its root, 30 pixels apart from StaffTextX.
    void ShowScale(int root, int row);
    // Text at a logical position (top-left), e.g. the names of an answer, in the staff's
    // font or a font of its own (sizes in logical pixels scale with the picture).
    void WriteText(int x, int y, const QString& text, std::optional<QFont> font = {});
    // The same, replacing what was written at exactly that position (a name completed).
    void RewriteText(int x, int y, const QString& text, std::optional<QFont> font = {});
    // A mark of 9 x 3 pixels at (x, y) in the colour 0xRRGGBB: the melody's verdict on a note.
    void MarkNote(int x, int y, int rgb);
    // Starts the eased scroll of everything right of x by distance pixels; StaffTextX moves
    // at once, and what is written meanwhile shows when the scroll ends.
    void DoScroll(int x, int distance);
    // One frame of a running scroll (the timer calls it every 20 ms); false when it ended.
    bool ScrollFrame();
    bool scrolling() const { return scrollFrame_ < kScrollFrames; }
    // The white keys 36..83 written in notation, 14 on each staff.
    void mVisnoderClick();

    // Accidental memory of the current chord; callers clear it before each chord.
    AccidentalMemory& accidentalMemory() { return memory_; }
    void NulFortegnMatrix() { memory_.NulFortegnMatrix(); }

    int StaffTextX = 48;
    int MelodyTextX = kResetMelodyTextX;
    int PreviousStep = 14;
    int PreviousClef = 0;
    bool PreviousShifted = false;
    QString LastNoteName;

    const std::vector<StaffItem>& items() const { return items_; }
    bool clefsShown() const { return clefsShown_; }
    // Width of the picture in logical pixels.
    double logicalWidth() const;
    // Key signature glyphs as (x, y of the glyph's top, code), written by the last reset
    // of the melody module (or a key change after it) and kept until the next full reset.
    struct SignatureGlyph {
        int X;
        int Y;
        int Code;
    };
    const std::vector<SignatureGlyph>& signatureGlyphs() const { return signature_; }

signals:
    // A scale note to mark on the keyboard.
    void scaleNoteMarked(int note);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<SignatureGlyph> computeSignature() const;
    void restoreBarAccidentals();
    void addItem(StaffItem item);

    std::vector<StaffItem> items_;
    std::vector<SignatureGlyph> signature_;
    AccidentalMemory memory_;
    std::optional<KeyState> key_;
    std::optional<KeyState> signatureKey_; // the key as set, for each new bar
    int module_ = 1;
    bool highColour_ = true;
    bool germanNaming_ = false;
    bool clefsShown_ = true;
    int scaleRoot_ = -1000;
    // Scroll state.
    QTimer scrollTimer_;
    std::array<int, kScrollFrames> scrollSteps_{};
    int scrollFrame_ = kScrollFrames;
    int scrollX_ = 0;
    std::size_t scrollItems_ = 0;
};

} // namespace harmik
