#include "formulario/core/ModGen00.h"

#include "platform/utility.h"

std::unique_ptr<platform::Database> oBaseDatos;
QString sSQL;
QString sSysPath;
QString sRutaBD;
QString sSysUser;
QString sRutaRpt;
QString sArchivoAyuda;
std::unique_ptr<platform::Utility> oUtil;

QString sRuc;
QString sRazonSocial;
QString sPeriodo;
QString sPeriodoMMAAAA;
int nEntidad = 0;
QString sFecActualiza;
QString sEfectivo;
int nModo = 0;
bool bEnviadas = false;

QString sArchivo;
QString sMensaje;
QString sTipoConsulta;

QString sTim;
int nBcolibrad = 0;
QString sBuenContrib;
QString sIndGarantia;
QString sIndPersona;
QString sMtoDeuda;
QString sMtoDeudaGarantia;
QString sNumDeudas;
bool bDeudaGrabada = false;
bool bFormCargado = false;
QString sGarantia;
int nTabActual = 0;
QString sRucDeclarante;
int nGrabando = 0;
int nInconsistencia = 0;

const QString kNombreProducto = QStringLiteral("Régimen de Reprogramación de Deudas ");
