#include "net/endpoints.h"

#include "net/serverconfig.h"

#include <QVector>

Endpoints::Endpoints(const ServerConfig &config)
    : appRoot(ServerConfig::withTrailingSlash(config.appRoot))
    , softRoot(ServerConfig::withTrailingSlash(config.softRoot))
    , webRoot(ServerConfig::withTrailingSlash(config.webRoot))
    , unitRoot(ServerConfig::withTrailingSlash(config.unitRoot))
    , helpRoot(ServerConfig::withTrailingSlash(config.helpRoot))
    , gatherRoot(ServerConfig::withTrailingSlash(config.gatherRoot))
    , photoUpload(appRoot + QLatin1String("app/upphoto"))
// The roots are declared before the endpoints, so they are ready here.
#define HOUSEBOOK_ENDPOINT_INIT(root, member, path) , member(root + QLatin1String(path))
      HOUSEBOOK_ENDPOINT_TABLE(HOUSEBOOK_ENDPOINT_INIT)
#undef HOUSEBOOK_ENDPOINT_INIT
{
}

Endpoints Endpoints::build(const ServerConfig &config)
{
    return Endpoints(config);
}

const ServerConfig &Endpoints::config()
{
    static const ServerConfig c = ServerConfig::load();
    return c;
}

const Endpoints &Endpoints::instance()
{
    static const Endpoints e(config());
    return e;
}

const QVector<Endpoints::Entry> &Endpoints::entries()
{
#define HOUSEBOOK_ENDPOINT_ENTRY(root, member, path) \
    Entry{&Endpoints::root, &Endpoints::member, #member, path},
    static const QVector<Entry> table = {HOUSEBOOK_ENDPOINT_TABLE(HOUSEBOOK_ENDPOINT_ENTRY)};
#undef HOUSEBOOK_ENDPOINT_ENTRY
    return table;
}
