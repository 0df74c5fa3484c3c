#include "browser_host/element_walk.h"

#include "browser_host/page_scripts.h"
#include "page_contract/page_contract.h"
#include "resources/resource_loader.h"

#include <QJsonObject>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace quillo {

namespace {

QString walkCall(ElementWalk walk) {
    static const QString source = res::loadText(QStringLiteral(":/js/element_walk.js"));
    const QJsonObject request{
        {QStringLiteral("scan"), walk == ElementWalk::Scan},
        {QStringLiteral("accept"), walk == ElementWalk::Accept},
        {QStringLiteral("versionId"), fromContract(contract::kVersionElementId)},
        {QStringLiteral("versionText"), fromContract(contract::kVersionText)},
        {QStringLiteral("orderId"), fromContract(contract::kOrderIdElementId)},
        {QStringLiteral("acceptId"), fromContract(contract::kAcceptElementId)},
        {QStringLiteral("acceptText"), fromContract(contract::kAcceptText)},
    };
    return withConfig(source, request);
}

} // namespace

void runElementWalk(QWebEnginePage& page, ElementWalk walk, std::function<void(const QStringList&)> done) {
    page.runJavaScript(walkCall(walk), QWebEngineScript::ApplicationWorld, [done](const QVariant& result) {
        // A page that went away answers with nothing; there is nothing to report then.
        if (!done || !result.isValid())
            return;
        QStringList texts;
        const QVariantList list = result.toList();
        for (const QVariant& text : list)
            texts << text.toString();
        done(texts);
    });
}

} // namespace quillo
