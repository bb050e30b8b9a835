#include "formulario/core/CambioFoco.h"

#include "platform/focus.h"

#include <QFocusEvent>
#include <QWidget>

namespace {

class FiltroFoco : public QObject {
public:
    FiltroFoco(QWidget* control, std::function<void()> entra, std::function<void()> sale)
        : QObject(control), entra_(std::move(entra)), sale_(std::move(sale))
    {
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* event) override
    {
        const QEvent::Type tipo = event->type();
        if (tipo != QEvent::FocusIn && tipo != QEvent::FocusOut)
            return false;
        const std::function<void()>& evento = tipo == QEvent::FocusIn ? entra_ : sale_;
        if (evento
            && platform::focusMovesWithinWindow(*static_cast<QWidget*>(objeto), *static_cast<QFocusEvent*>(event)))
            evento();
        return false;
    }

private:
    std::function<void()> entra_;
    std::function<void()> sale_;
};

} // namespace

void AsignaFoco(QWidget& oControl, std::function<void()> GotFocus, std::function<void()> LostFocus)
{
    oControl.installEventFilter(new FiltroFoco(&oControl, std::move(GotFocus), std::move(LostFocus)));
}
