#include "formulario/core/TablaArchivos.h"

#include "tests/support/PlantedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(TablaArchivos, OnlyAPlainFileIsOpenedAndALinkOnlyForReading)
{
    QTemporaryDir carpeta, fuera;
    const QString sFuera = outsideFile(fuera.path());
    const struct {
        int nModo;
        bool bLectura;
    } modos[] = {
        {modoArchivo::Salida, false},         {modoArchivo::Agregar, false},
        {modoArchivo::Aleatorio, false},      {modoArchivo::BinarioEscritura, false},
        {modoArchivo::Entrada, true},         {modoArchivo::BinarioLectura, true},
    };
    const QString sRuta = carpeta.filePath(QStringLiteral("a.txt"));
    for (const Planted tipo : {Planted::Link, Planted::Fifo, Planted::Folder, Planted::DeviceLink}) {
        ASSERT_TRUE(plant(tipo, sRuta, sFuera));
        for (const auto& modo : modos) {
            SCOPED_TRACE(std::string(plantedName(tipo)) + ", mode " + std::to_string(modo.nModo));
            const bool bSeAbre = tipo == Planted::Link && modo.bLectura;
            EXPECT_EQ(AbreNumero(1, sRuta, modo.nModo), bSeAbre ? 0 : errorArchivo::AccesoRuta);
            EXPECT_EQ(CierraArchivo(1), 0);
            EXPECT_TRUE(stillPlanted(tipo, sRuta, sFuera));
            EXPECT_EQ(plainBytes(sFuera), QByteArray("fuera\r\n"));
        }
        ASSERT_TRUE(QFile::remove(sRuta) || QDir(sRuta).removeRecursively());
    }
}

} // namespace
