#pragma once

#include "widgets/colourbutton.h"

#include <QList>
#include <QObject>
#include <QRect>

#include <array>
#include <functional>

// The control array of launch buttons. Every element keeps the state a button has (top, visibility,
// enabled state, background colour, picture, accessible name and description), but only the five
// places of the column have real widgets: each place widget shows the visible element with the
// lowest index among those standing in it, exactly what stacked buttons with a lower index above a
// higher one would show. A suite of thousands of components thus costs five widgets, and pointer
// moves and clicks on a place go to the element it shows.
class LaunchButtons final : public QObject
{
    Q_OBJECT
public:
    static constexpr int places = 5;
    // The places stand this far apart, one below the other.
    static constexpr qint16 placeSpacingTwips = 600;

    // `panel` holds the column; `first` is the place of element 0 in pixels, `spacing` the distance
    // from one place to the next. Element 0 exists from the start, hidden, at `firstTopTwips`.
    LaunchButtons(QWidget *panel, const QRect &first, int spacing, qint16 firstTopTwips);
    ~LaunchButtons() override;

    qsizetype count() const { return m_elements.size(); }

    // A new element: the size, left, style and top of element 0, hidden. Returns its index.
    qint16 add();

    qint16 top(qint16 index) const;
    void setTop(qint16 index, qint16 twips);
    bool isVisible(qint16 index) const;
    void setVisible(qint16 index, bool visible);
    bool isEnabled(qint16 index) const;
    void setEnabled(qint16 index, bool enabled);
    quint32 backColor(qint16 index) const;
    void setBackColor(qint16 index, quint32 colour);
    void setPicture(qint16 index, const Picture &picture);
    bool hasPicture(qint16 index) const;
    // What a screen reader is told of element `index` while a place shows it: its name and its
    // description. Asked for only then, so that no element holds texts of its own.
    struct AccessibleTexts {
        QString name;
        QString description;
    };
    void setAccessibleTexts(std::function<AccessibleTexts(qint16 index)> texts);

    // The widget of place `place` (0..4) and the element it shows, -1 when it shows none.
    ColourButton *placeWidget(int place) const { return m_places.at(place); }
    qint16 shownIn(int place) const { return m_shown.at(place); }
    // The widget that shows element `index`, or nullptr when no place shows it.
    ColourButton *widgetOf(qint16 index) const;

Q_SIGNALS:
    void pointerMoved(qint16 index);
    void clicked(qint16 index);
    // The pointer came onto a place from outside it.
    void pointerEntered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Element {
        qint16 top = 0;
        bool visible = false;
        bool enabled = true;
        quint32 backColor = ColourButton::buttonFace;
        Picture picture;
    };

    const Element &at(qint16 index) const;
    Element &at(qint16 index);
    int placeOf(qint16 index) const;
    void elementChanged(qint16 index);
    void findShown(int place, qint16 from);
    void bind(int place);

    QList<Element> m_elements;
    std::array<ColourButton *, places> m_places{};
    std::array<qint16, places> m_shown{};
    qint16 m_firstTop;
    std::function<AccessibleTexts(qint16)> m_accessibleTexts;
};
