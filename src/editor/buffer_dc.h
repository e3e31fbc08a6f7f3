// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSize>

// The off-screen buffer of one paint: the picture is drawn into it, the tracker's inverting
// drawings go on a layer that is laid over the picture by difference (an inverting pen changes
// each pixel as NOT(pen XOR screen) would), and the result reaches the window in one copy,
// without flicker. Every paint draws everything again, so feedback never stays behind. The
// two images are shared by all buffers of the program: they grow to the largest size asked for
// and never shrink.

namespace orin {

class QBufferDC {
public:
    // A buffer of `size` filled with `background`. Buffers are not nested.
    QBufferDC(QSize size, const QColor &background);
    ~QBufferDC();
    QBufferDC(const QBufferDC &) = delete;
    QBufferDC &operator=(const QBufferDC &) = delete;

    // Normal drawing.
    QPainter &Picture() { return m_picture; }
    // Inverting drawing: what is drawn here in colour c changes the picture below by |c - pixel|.
    QPainter &Inverting() { return m_layer; }
    // Ends the drawing and copies the result onto `target` at its origin.
    void CopyTo(QPainter &target);
    // Ends the drawing and returns the result (tests, grabs).
    QImage Result();

private:
    void Finish();

    QSize m_size;
    QPainter m_picture;
    QPainter m_layer;
    bool m_finished = false;
};

} // namespace orin
