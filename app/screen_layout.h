#pragma once

namespace harmik {

class TForm1;

// Lays the main window out for the current module and size (the window's EarDoScreen).
class ScreenLayout {
public:
    explicit ScreenLayout(TForm1& window) : w_(window) {}

    void EarDoScreen();

private:
    void placeControls();
    void placeStaffAndInstruments(int w, int h, int statusHeight);
    void placeMelodyAndKeyControls(int menuHeight, int oveWidth, int bottom);

    TForm1& w_;
};

} // namespace harmik
