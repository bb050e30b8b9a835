#include "formulario/core/TeclaPresionada.h"

#include "platform/textfile.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

class FiltroKeyPress : public QObject {
public:
    FiltroKeyPress(QWidget* control, std::function<void(int&)> evento)
        : QObject(control), evento_(std::move(evento))
    {
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || reenviando_)
            return false;
        const auto* tecla = static_cast<QKeyEvent*>(event);
        if (tecla->key() == Qt::Key_Tab || tecla->key() == Qt::Key_Backtab || tecla->text().size() != 1)
            return false;
        const int nOriginal = static_cast<unsigned char>(platform::toCp1252(tecla->text()).at(0));
        int nKeyAscii = nOriginal;
        evento_(nKeyAscii);
        if (nKeyAscii == nOriginal)
            return false;
        if (nKeyAscii != 0)
            TecleaEnLugar(objeto, *tecla, nKeyAscii);
        return true;
    }

private:
    void TecleaEnLugar(QObject* objeto, const QKeyEvent& tecla, int nKeyAscii)
    {
        QKeyEvent otra(QEvent::KeyPress, tecla.key(), tecla.modifiers(),
                       platform::fromCp1252(QByteArray(1, char(nKeyAscii))));
        reenviando_ = true;
        QCoreApplication::sendEvent(objeto, &otra);
        reenviando_ = false;
    }

    std::function<void(int&)> evento_;
    bool reenviando_ = false;
};

} // namespace

void AsignaKeyPress(QWidget& oControl, std::function<void(int& KeyAscii)> evento)
{
    oControl.installEventFilter(new FiltroKeyPress(&oControl, std::move(evento)));
}
