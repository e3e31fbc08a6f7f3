// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

// The palette grid of the colour-index picker: draws the picture the dialog hands it at its
// natural size (256 x 256) and reports clicks in its own coordinates.

namespace orin {

class CColorMapGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSide = 256;

    explicit CColorMapGrid(QWidget *parent = nullptr);

    void SetPicture(const QImage &picture);
    QSize sizeHint() const override { return {kSide, kSide}; }

signals:
    void Clicked(QPoint position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};

} // namespace orin
