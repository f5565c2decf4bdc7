// The LED control: a round lamp in its lit or dark colour, told to screen readers as well.
#pragma once

#include <QColor>
#include <QWidget>

class CviLed : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool lit READ isLit WRITE setLit)

  public:
    explicit CviLed(QWidget *parent = nullptr);

    bool isLit() const { return lit; }
    void setLit(bool on);
    QRgb onColour() const { return onRgb; }
    void setOnColour(QRgb rgb);
    QRgb offColour() const { return offRgb; }
    void setOffColour(QRgb rgb);

    QSize sizeHint() const override { return {16, 16}; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    bool lit = false;
    QRgb onRgb = 0xFF0000;
    QRgb offRgb = 0x400000;
};
