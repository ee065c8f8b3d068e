#include "FaceArrows.h"

#include <QToolButton>

#include <algorithm>

FaceArrows::FaceArrows(int maximum, QWidget *parent) : QWidget(parent), m_maximum(maximum)
{
    m_left = new QToolButton(this);
    m_left->setArrowType(Qt::LeftArrow);
    m_right = new QToolButton(this);
    m_right->setArrowType(Qt::RightArrow);
    for (QToolButton *arrow : {m_left, m_right}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_left, &QToolButton::clicked, this, [this] { step(-1); });
    connect(m_right, &QToolButton::clicked, this, [this] { step(+1); });
}

void FaceArrows::setPosition(int position)
{
    m_position = std::clamp(position, 1, m_maximum);
}

void FaceArrows::step(int by)
{
    setPosition(m_position + by);
    emit clicked(m_position);
}

void FaceArrows::resizeEvent(QResizeEvent *)
{
    const int half = width() / 2;
    m_left->setGeometry(0, 0, half, height());
    m_right->setGeometry(half, 0, width() - half, height());
}
