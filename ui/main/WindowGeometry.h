#pragma once
// Window geometry is stated in twips, 15 to the pixel, for one fixed font.
#include <QFont>
#include <QRect>

class QLabel;
class QWidget;

namespace tagwerk {

constexpr int TwipsToPixels(int twips) {
    return twips / 15;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// The face the stated geometry was laid out for: Liberation Sans (metrics of
// Arial) at 7.5 points, so that every caption fits its stated place whatever
// the desktop's own font is.
QFont LayoutFont();

// Gives the label its place, grown away from its aligned edge where its
// caption is wider, so that the caption is never cut.
void WidenToCaption(QLabel& label, const QRect& place);

// Places a top-level window in the middle of its screen's free area.
void CenterOnScreen(QWidget& window);

} // namespace tagwerk
