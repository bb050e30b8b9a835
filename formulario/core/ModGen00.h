#pragma once

// Process-wide state of Tarvel: one instance of each for the whole run,
// starting empty / 0 / false, never reset when a declaration is closed.

#include "platform/database.h"

#include <QString>
#include <memory>

namespace platform { class Utility; }

// Database and settings
extern std::unique_ptr<platform::Database> oBaseDatos;
extern QString sSQL;
extern QString sSysPath;
extern QString sRutaBD;
extern QString sSysUser;
extern QString sRutaRpt;
extern QString sArchivoAyuda; // the help file
extern std::unique_ptr<platform::Utility> oUtil;

// Open declaration
extern QString sRuc;
extern QString sRazonSocial;
extern QString sPeriodo;        // YYYYMM
extern QString sPeriodoMMAAAA;  // MM/YYYY
extern int nEntidad;            // 1, 2, 3, 5 or 8
extern QString sFecActualiza;
extern QString sEfectivo;
extern int nModo;               // 0 new, 1 update or view, 3 delete
extern bool bEnviadas;

// Texts handed between windows
extern QString sArchivo;
extern QString sMensaje;
extern QString sTipoConsulta;

// State of the request form shared with the dialogs and reports
extern QString sTim;
extern int nBcolibrad;
extern QString sBuenContrib;
extern QString sIndGarantia;
extern QString sIndPersona;
extern QString sMtoDeuda;
extern QString sMtoDeudaGarantia;
extern QString sNumDeudas;
extern bool bDeudaGrabada;
extern bool bFormCargado;
extern QString sGarantia;
extern int nTabActual;
extern QString sRucDeclarante;
extern int nGrabando;
extern int nInconsistencia;

// Product name, as the program's version information records it (with its
// trailing blank): the title of every box that bears it.
extern const QString kNombreProducto;

