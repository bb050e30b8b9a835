#include "formulario/subsystems/import/ArchivoEstado.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(LineasEstado, EveryLineEndSplitsTheSameWay)
{
    const struct {
        const char* caso;
        QByteArray contenido;
    } casos[] = {
        {"CR LF", "a|\r\nb|\r\nc|\r\n"},
        {"LF", "a|\nb|\nc|\n"},
        {"CR", "a|\rb|\rc|\r"},
        {"mixed, last without an end", "a|\rb|\nc|"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        EXPECT_EQ(LineasEstado(c.contenido), (QList<QByteArray>{"a|", "b|", "c|"}));
    }
    EXPECT_EQ(LineasEstado("a|\r\n\r\nb|"), (QList<QByteArray>{"a|", "", "b|"}));
    EXPECT_EQ(LineasEstado(QByteArray()), QList<QByteArray>());
}

TEST(LineasEstado, ALineOverItsLimitMakesTheFileNoStatement)
{
    EXPECT_TRUE(LineasEstado(QByteArray(kLargoMaximoLinea, 'x') + "\r\n"));
    EXPECT_FALSE(LineasEstado("a|\r\n" + QByteArray(kLargoMaximoLinea + 1, 'x') + "\r\n"));
}

class CarpetaTemporal : public ::testing::Test {
protected:
    QString ruta(const QString& sNombre) const { return dir.filePath(sNombre); }
    void escribe(const QString& sNombre) const
    {
        QFile archivo(ruta(sNombre));
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write("dato");
    }

    QTemporaryDir dir;
};

TEST_F(CarpetaTemporal, IsMadeWhenMissingAndLosesOnlyItsPlainFiles)
{
    EXPECT_TRUE(PreparaCarpetaTemporal(ruta("TMP/REG1/")));
    EXPECT_TRUE(QFileInfo(ruta("TMP/REG1")).isDir());

    escribe("ajeno.txt");
    QDir().mkpath(ruta("REG2/sub"));
    escribe("REG2/viejo.txt");
    escribe("REG2/.oculto");
    escribe("REG2/sub/dentro.txt");
    ASSERT_TRUE(QFile::link(ruta("ajeno.txt"), ruta("REG2/enlace.txt")));

    EXPECT_TRUE(PreparaCarpetaTemporal(ruta("REG2/")));

    EXPECT_EQ(QDir(ruta("REG2")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"enlace.txt", "sub"}));
    EXPECT_TRUE(QFile::exists(ruta("REG2/sub/dentro.txt")));
    EXPECT_TRUE(QFile::exists(ruta("ajeno.txt")));
}

TEST_F(CarpetaTemporal, AFolderThatIsALinkIsRefusedAndLeftAlone)
{
    QDir().mkpath(ruta("ajena"));
    escribe("ajena/importante.txt");
    ASSERT_TRUE(QFile::link(ruta("ajena"), ruta("REG3")));

    EXPECT_FALSE(PreparaCarpetaTemporal(ruta("REG3/")));
    EXPECT_EQ(ExtraeEstado(ruta("no-importa.zip"), ruta("REG3/")), Extraccion::Error);
    EXPECT_TRUE(QFile::exists(ruta("ajena/importante.txt")));
}

} // namespace
