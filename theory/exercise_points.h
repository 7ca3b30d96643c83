#pragma once

// Point values of exercise items and the arithmetic they use.
namespace harmik {

// Nearest integer, halves to the even neighbour.
double roundHalfEven(double x);

// An item's points: raw = sqrt(ticked - 1) x base x factor, rounded to the nearest integer;
// points = raw x 22 div (exercises per task + 2).
int itemPoints(int ticked, int base, double factor, int exercisesPerTask);

// The staff for the notes low..high: bass below middle C on average, treble above; both staves
// when the notes reach below lowBoth and above highBoth.
int clefForRange(int low, int high, int lowBoth, int highBoth);

// Interval items switch to both staves below 55 and above 65; scales, chords and inversions
// below 54 and above 65.
int intervalClef(int low, int high);
int scaleClef(int low, int high);

} // namespace harmik
