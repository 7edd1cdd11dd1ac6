#include "app/PluginFolder.h"

#include "upload/FormPost.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonObject>
#include <QPluginLoader>

QString PluginFolder::path()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(KAVENDRA_PLUGINDIR_FROM_BINDIR));
}

QString PluginFolder::formPoster()
{
    // Reading a plug-in's metadata does not load it.
    const QDir folder(path());
    for (const QString &name : folder.entryList(QDir::Files)) {
        QPluginLoader plugin(folder.filePath(name));
        if (plugin.metaData().value(QLatin1String("IID")).toString() == QLatin1String(FormPost_iid))
            return plugin.fileName();
    }
    return {};
}
