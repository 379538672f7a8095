#pragma once
// The about window: name, version and release month of the program with
// its logo. A click on its background, frame or logo, or any character key,
// closes and destroys it.
#include "ui/main/WindowSingleton.h"

#include <QWidget>

class QFrame;
class QLabel;

namespace tagwerk {

class PictureBox;

class frmSplash : public QWidget, public WindowSingleton<frmSplash> {
    Q_OBJECT
public:
    QFrame* Frame1 = nullptr;
    PictureBox* Image1 = nullptr; // the logo
    PictureBox* Image2 = nullptr; // the small picture beside the name
    QLabel* lblProductName = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblWarning = nullptr;

protected:
    // Clicks that no label or Image2 keeps for itself arrive here.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class WindowSingleton<frmSplash>;
    frmSplash();
};

} // namespace tagwerk
