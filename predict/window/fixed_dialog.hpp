#pragma once
// Geometry and behaviour shared by the prediction program's modal dialogs:
// a fixed border without minimise and maximise boxes, sizes in twips, and
// buttons that answer neither Enter nor Esc.
#include <QDialog>

namespace kova::predict {

class FixedDialog : public QDialog {
    Q_OBJECT
public:
    FixedDialog(QWidget* owner, const QString& caption, int clientTwipsW, int clientTwipsH);

    void PlaceTwips(QWidget* w, int left, int top, int width, int height) const;
    // Centred on `on` (or the screen when none).
    void CentreOn(const QWidget* on);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace kova::predict
