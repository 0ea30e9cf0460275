#pragma once

#include <QIcon>
#include <QWidget>

// A toolbar button with a pressed state and a bevel. A click presses it; it stays down until
// code lifts it. Every change of the pressed state, by the user or by code, raises Click.
// Bevel width 0 draws the button flat, 1 raised.
class RibbonButton : public QWidget
{
    Q_OBJECT
  public:
    RibbonButton(int index, const QIcon &icon, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QIcon icon() const { return m_icon; }
    bool Value() const { return m_value; }
    void setValue(bool pressed);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);

  signals:
    void Click(int index, bool value);
    void mouseMoved(int index);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    int m_index;
    QIcon m_icon;
    bool m_value = false;
    int m_bevelWidth = 0;
};
