#pragma once
// The progress display of the main window, shared by every long operation:
// the logo (Image1) narrowed from the right over its dimmed copy (Image2) is
// the overall bar, the thin bar Shape2 along its lower edge the bar of the
// current file, each with its percentage label (Label13, Label15). A bar and
// its label change, and pending window events are handled, only when the
// bar's width in whole pixels changes: at most 329 times per bar and run (per
// file for the per-file bar, whose moves between frames are only noted).
// The window repaints only once a frame meanwhile, see RepaintThrottle, and
// screen readers hear of the bars' values as often as they are painted.
#include "ui/main/RepaintThrottle.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

class QLabel;
class QWidget;

namespace tagwerk {

class Form1;

enum class ProgressBar { overall, perFile };

class ProgressDisplay {
public:
    static constexpr int kFullWidth = 329;

    explicit ProgressDisplay(Form1& form);

    // The width in whole pixels of a bar at `fraction`.
    static int WidthOf(double fraction) { return static_cast<int>(fraction * kFullWidth); }
    // Just short of the fraction at which a bar at `fraction` moves on by a
    // pixel: a millionth of a pixel keeps clear of the rounding of fractions.
    static double BeforeNextMove(double fraction) {
        return (WidthOf(fraction) + 1 - 1e-6) / kFullWidth;
    }

    // Shows "0%" and the bar at 1 pixel; with the per-file bar as well when asked.
    void BeginProgress(bool withFileBar = false);
    // Sets the bar to the whole part of fraction * 329 pixels and the label to
    // text(), and handles pending events, only if that width is new (a move of
    // the per-file bar between frames is only noted, see Move). The text is
    // built only then: a removal reports every 100 bytes.
    template <class TextOf>
    void ShowProgress(ProgressBar bar, double fraction, const TextOf& text) {
        Bar& shown = bar == ProgressBar::overall ? overall_ : perFile_;
        const int width = WidthOf(fraction);
        if (width != shown.lastWidth)
            Move(shown, width, text());
    }
    // Hides the labels (and the per-file bar) and gives the logo its full width.
    void EndProgress();

private:
    struct Bar {
        QWidget* widget;
        QLabel* label;
        QRect labelPlace; // the label's stated place; it grows during a run
        int lastWidth = 0;
        QString notedText = {}; // with lastWidth, while `noted`: not yet on the controls
        bool noted = false;
    };
    void Start(Bar& bar);
    void Move(Bar& bar, int width, QString text);
    void ShowNoted();
    void PaintFrame();
    void AnnounceBars();
    void SetTextsAndFileBarUpdated(bool updated);

    Form1& form_;
    Bar overall_;
    Bar perFile_;
    bool withFileBar_ = false;
    std::optional<RepaintThrottle> throttle_;
};

// A number with one blank in front, the place of its sign: " 7".
QString SignPlaceText(std::int64_t value);
// A percentage as the display shows it: " 42%".
QString PercentText(std::int64_t percent);

} // namespace tagwerk
