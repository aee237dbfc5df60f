#pragma once

#include <QPixmap>
#include <QPushButton>

// The 3-D command button: a push button with a raised bevel that shows its
// caption, or a picture fitted to its face with the aspect ratio kept.
class SSCommand final : public QPushButton {
    Q_OBJECT
public:
    explicit SSCommand(QWidget* parent = nullptr);
    explicit SSCommand(const QString& caption, QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    // The face a picture is fitted to, in device pixels: a larger picture
    // is scaled down to it when painted.
    QSize pictureSpace() const;
    const QPixmap& picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }

    // A wide black frame along the edge of the face that marks the one
    // button that works now, for mouse and keyboard users alike. Off unless
    // a window turns it on.
    void setFocusFrame(bool shown);
    bool hasFocusFrame() const { return m_focusFrame; }
    // Its width in pixels at scale 1.
    static constexpr int FocusFrameWidth = 4;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintPicture();
    void paintFocusFrame();

    QPixmap m_picture;
    bool m_focusFrame = false;
};
