#pragma once
// Builds the controls of the batch windows, each with its name, its place
// (already in pixels) and its tooltip, and the captions of the six fields.
#include <QRect>
#include <QString>
#include <QWidget>
#include <utility>

namespace tagwerk {

// The six fields of a tag, in the order of the Dateinamenaufbau's numbers.
inline constexpr const char* kFieldCaptions[] = {"Titel", "Künstler",      "Album",
                                                 "Jahr",  "Musikrichtung", "Kommentar"};

template <class Control, class... Arguments>
Control* MakeControl(QWidget* window, const char* name, const QRect& place, const QString& toolTip,
                     Arguments&&... arguments) {
    auto* control = new Control(std::forward<Arguments>(arguments)..., window);
    control->setObjectName(name);
    control->setGeometry(place);
    control->setToolTip(toolTip);
    return control;
}

} // namespace tagwerk
