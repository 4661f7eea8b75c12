#pragma once

#include <QLabel>

// A picture that stands for a web address and is clicked to follow it, as the getting-help
// window's banner is. A click is the left button going down and coming up again over the picture;
// the second press of a double click does not count again. Assistive technology meets it as a link
// to its address, which its press action follows as a click does.
class LinkPicture final : public QLabel
{
    Q_OBJECT
public:
    LinkPicture(const QString &address, QWidget *parent);

    const QString &address() const { return m_address; }

    // Follows the link as a click does.
    void follow() { Q_EMIT clicked(); }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const QString m_address;
    bool m_pressed = false;
};
