#include "formulario/core/ConfiguracionRegional.h"

#include "platform/dialogs.h"
#include "platform/regional.h"

#include <QString>

using platform::LocaleSetting;

namespace {

enum class Prueba { Caracter, Contiene, Numero };

struct Requisito {
    LocaleSetting setting;
    Prueba prueba;
    const char* esperado;
    const char* linea;
};

// In the order the message lists them.
const Requisito kRequisitos[] = {
    {LocaleSetting::Date, Prueba::Caracter, "/", "- Debe configurar como separador de Fechas : ( / ) "},
    {LocaleSetting::ShortDate, Prueba::Contiene, "dd/MM/yyyy",
     "- Debe configurar como formato de fecha corta : ( dd/MM/aaaa ) "},
    {LocaleSetting::Time, Prueba::Caracter, ":", "- Debe configurar como separador de Hora : ( : ) "},
    {LocaleSetting::TimeFormat, Prueba::Contiene, "hh:mm:ss tt",
     "- Debe configurar como formato de Hora : ( hh:mm:ss tt) "},
    {LocaleSetting::Decimal, Prueba::Caracter, ".",
     "- Debe configurar como símbolo decimal para Número : ( . ) "},
    {LocaleSetting::Thousand, Prueba::Caracter, ",",
     "- Debe configurar como separador de miles para Número : ( , ) "},
    {LocaleSetting::Digits, Prueba::Numero, "2",
     "- Debe configurar como número de Decimales para Número : ( 2 ) "},
    {LocaleSetting::NegativeSign, Prueba::Caracter, "-", "- Debe configurar como Símbolo negativo : ( - ) "},
    {LocaleSetting::NegNumber, Prueba::Numero, "1",
     "- Debe configurar como Formato de Número Negativo : ( -1,1 ) "},
    {LocaleSetting::LeadingZero, Prueba::Numero, "1",
     "- Debe configurar Mostrar Ceros a la Izquierda : ( 0,7 ) "},
    {LocaleSetting::MonDecimalSep, Prueba::Caracter, ".",
     "- Debe configurar como separador de decimales para moneda : ( . ) "},
    {LocaleSetting::MonThousandSep, Prueba::Caracter, ",",
     "- Debe configurar como separador de miles para moneda : ( , ) "},
    {LocaleSetting::CurrDigits, Prueba::Numero, "2",
     "- Debe configurar como número de Decimales para Moneda : ( 2 ) "},
    {LocaleSetting::Currency, Prueba::Numero, "0",
     "- Debe configurar que Símbolo Monetario vaya antes del número : ( $1.1  ) "},
    {LocaleSetting::NegCurr, Prueba::Numero, "2",
     "- Debe configurar como Formato de Moneda Negativo : ( *-1,1 ) "},
};

bool Cumple(const Requisito& requisito, const QString& sValor)
{
    const QString sEsperado = QString::fromUtf8(requisito.esperado);
    switch (requisito.prueba) {
    case Prueba::Caracter:
        return sValor == sEsperado;
    case Prueba::Contiene:
        return sValor.contains(sEsperado);
    case Prueba::Numero: {
        // A value that is not a number fails the test.
        bool ok = false;
        const int nValor = sValor.toInt(&ok);
        return ok && nValor == sEsperado.toInt();
    }
    }
    return false;
}

} // namespace

bool VerificaConfiguracionRegional()
{
    bool bResultado = true;
    QString sMensajeConfig;
    for (const Requisito& requisito : kRequisitos) {
        const std::optional<QString> valor = platform::readLocaleSetting(requisito.setting);
        if (!valor) {
            platform::messageBox(QStringLiteral("Error al leer la configuración del sistema"),
                                 platform::mb::Critical, QStringLiteral("Error"));
            return false;
        }
        if (!Cumple(requisito, valor->trimmed())) {
            sMensajeConfig += QString::fromUtf8(requisito.linea) + QLatin1Char('\n');
            bResultado = false;
        }
    }
    if (!sMensajeConfig.isEmpty()) {
        sMensajeConfig += QStringLiteral(
            "Ingrese a la opción :Configuración/Panel de control/Configuración Regional y verificar las "
            "secciones Número, Moneda, Hora y Fecha.\n");
        sMensajeConfig += QStringLiteral("Esto es necesario para el correcto funcionamiento del Sistema Vardeno. ");
        platform::messageBox(sMensajeConfig, platform::mb::Critical, QStringLiteral("Error de configuración"));
    }
    return bResultado;
}
