// Loads the Vellaro Designer plugin from Qt's plugin folders as Designer does (QT_PLUGIN_PATH
// first, then Qt's own) and says where it came from and how many widgets it offers.
//   DesignerPluginProbe EXPECTED_FOLDER   exits 0 only when the plugin loads from that folder
#include <QApplication>
#include <QDir>
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: DesignerPluginProbe EXPECTED_FOLDER\n");
        return 2;
    }
    const QString expected = QDir(QString::fromLocal8Bit(argv[1])).canonicalPath();
    for (const QString& path : QCoreApplication::libraryPaths()) {
        const QDir folder(path + QStringLiteral("/designer"));
        for (const QString& file : folder.entryList({QStringLiteral("*VellaroDesignerPlugin*")}, QDir::Files)) {
            QPluginLoader loader(folder.filePath(file));
            auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
            if (!collection) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(loader.fileName()), qPrintable(loader.errorString()));
                return 1;
            }
            const QString from = QFileInfo(loader.fileName()).canonicalPath();
            std::printf("%s: %d widgets\n", qPrintable(from), int(collection->customWidgets().size()));
            return from == expected && !collection->customWidgets().isEmpty() ? 0 : 1;
        }
    }
    std::fprintf(stderr, "no Vellaro Designer plugin in %s\n", qPrintable(QCoreApplication::libraryPaths().join(u' ')));
    return 1;
}
