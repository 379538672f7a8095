#pragma once
// Window geometry is stated in twips, 15 to the pixel.
#include <QRect>

class QWidget;

namespace tagwerk {

constexpr int TwipsToPixels(int twips) {
    return twips / 15;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// Places a top-level window in the middle of its screen's free area.
void CenterOnScreen(QWidget& window);

} // namespace tagwerk
