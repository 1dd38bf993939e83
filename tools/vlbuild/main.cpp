// vlbuild CONTENT_DIR OUTPUT: compiles a content folder into a module file.
#include "build_error.h"
#include "module_compiler.h"
#include "module_output.h"

#include "standard_converters.h"

#include <QGuiApplication>
#include <cstdio>
#include <stdexcept>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "uso: vlbuild PASTA_DO_CONTEUDO ARQUIVO_DO_MODULO\n");
        return 2;
    }
    try {
        const vl::build::ModuleModel module = vl::build::compileContentFolder(args[1], vl::build::standardConverters());
        vl::build::writeModuleFile(module, args[2]);
        int records = 0;
        for (const auto &t : module.tables)
            records += int(t.rows.size());
        std::printf("%s: %d tabelas, %d registros, %d tópicos\n", qPrintable(args[2]), int(module.tables.size()), records,
                    int(module.tables.first().rows.size()));
    } catch (const vl::build::BuildError &e) {
        std::fprintf(stderr, "vlbuild: %s\n", qPrintable(e.text()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vlbuild: %s\n", e.what());
        return 1;
    }
    return 0;
}
