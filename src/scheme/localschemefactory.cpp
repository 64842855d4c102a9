#include "scheme/localschemefactory.h"

#include "scheme/tfilescheme.h"

#include <QWebEngineUrlRequestJob>

LocalSchemeFactory::LocalSchemeFactory(QObject *parent)
    : QWebEngineUrlSchemeHandler(parent)
{
}

void LocalSchemeFactory::requestStarted(QWebEngineUrlRequestJob *job)
{
    TFileScheme scheme;
    scheme.ProcessRequest(job->requestUrl().toEncoded());
    // This engine version answers every reply with status 200; a not-found request still gets
    // its own page, which says so (the handler's status stays 404 for an engine that passes it
    // on). The engine reads the body on its own thread until the job is gone; the job owns it.
    const TFileScheme::ResponseHeaders headers = scheme.GetResponseHeaders();
    QIODevice *body = scheme.takeBody().release();
    body->setParent(job);
    job->reply(headers.mimeType, body);
}
