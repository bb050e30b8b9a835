#include "formulario/core/TeclaPresionada.h"

#include "platform/textfile.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// Delete carries the character 127 on some window systems, yet it edits
// rather than types, as Tab moves the focus.
bool TeclaDeCaracter(const QKeyEvent& tecla)
{
    switch (tecla.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return false;
    default: return tecla.text().size() == 1;
    }
}

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
        if (!TeclaDeCaracter(*tecla))
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
