#include "platform/focus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// What focusMovesWithinWindow says of each focus event the watched widget gets.
class Registro : public QObject {
public:
    QStringList eventos;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            eventos << QStringLiteral("%1 %2")
                           .arg(event->type() == QEvent::FocusIn ? "in" : "out")
                           .arg(platform::focusMovesWithinWindow(*static_cast<QWidget*>(watched),
                                                                 *static_cast<QFocusEvent*>(event)));
        return false;
    }
};

TEST(FocusMovesWithinWindow, OnlyAMoveBetweenWidgetsOfOneWindowCounts)
{
    QWidget ventana;
    auto* primera = new QLineEdit(&ventana);
    auto* segunda = new QLineEdit(&ventana);
    auto* disposicion = new QVBoxLayout(&ventana);
    disposicion->addWidget(primera);
    disposicion->addWidget(segunda);
    QLineEdit otra;
    ventana.show();
    QApplication::setActiveWindow(&ventana);
    primera->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), primera);

    Registro registro;
    primera->installEventFilter(&registro);
    const auto activa = [](QWidget* ventanaActiva) {
        QApplication::setActiveWindow(ventanaActiva);
        QApplication::processEvents();
    };
    segunda->setFocus(Qt::TabFocusReason);
    primera->setFocus(Qt::MouseFocusReason);
    otra.show();
    activa(&otra);     // another window of the program
    activa(&ventana);
    activa(nullptr);   // another program
    activa(&ventana);
    ventana.hide();
    QApplication::processEvents();
    EXPECT_EQ(registro.eventos, (QStringList{"out 1", "in 1", "out 0", "in 0", "out 0", "in 0", "out 0"}));
}

} // namespace
