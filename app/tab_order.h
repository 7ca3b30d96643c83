#pragma once

class QWidget;

namespace harmik {

// Chains the keyboard focus through the window's controls as they stand on the screen: row by
// row from the top left, each panel's controls together. The answer panel keeps its boxes in
// item order, so that Tab walks the names as the musician reads them. Run after every layout.
void OrderTabsByScreen(QWidget* window);

} // namespace harmik
