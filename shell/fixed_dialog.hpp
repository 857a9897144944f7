#pragma once
// The fixed dialogs and tool palettes of both programs: a fixed border with
// a close box and no minimise or maximise box (platform/qt/fixed_dialog_qt),
// the client area and the children placed in twips of the screen, and
// buttons that answer neither Enter nor Esc.
#include <QDialog>

#include "platform/twips.hpp"

namespace kova {

class FixedDialog : public QDialog {
    Q_OBJECT
public:
    // kind: Qt::Tool for a modeless tool palette.
    FixedDialog(QWidget* owner, const QString& caption, Qt::WindowType kind = Qt::Dialog);

    TwipsScale Twips() const;
    int Px(int twipsX) const;
    int Py(int twipsY) const;
    // Client area and child geometry in twips, converted with the screen's
    // scale.
    void SetClientTwips(int width, int height);
    void PlaceTwips(QWidget* w, int left, int top, int width, int height) const;
    // As PlaceTwips, but a text control is made as high as its font's line
    // (shell/form_geometry.hpp).
    void PlaceTextTwips(QWidget* w, int left, int top, int width, int height) const;
    // Centres the dialog on the window of `on`, or on the screen when there
    // is none or it is hidden.
    void CentreOn(const QWidget* on);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace kova
