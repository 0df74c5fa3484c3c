#include "browser_host/external_bridge.h"

#include "page_contract/external_dispatch.h"
#include "page_contract/page_contract.h"

#include <QWebEnginePage>
#include <algorithm>
#include <vector>

namespace quillo {

namespace {

Variant toVariant(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
        return nullptr;
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Double:
        return value.toDouble();
    case QJsonValue::String:
        return value.toString().toStdString();
    default:
        return std::monostate(); // objects, arrays and undefined carry nothing a method reads
    }
}

} // namespace

ExternalBridge::ExternalBridge(CExternalDispatch& external, QWebEnginePage& page, TrustCheck isTrusted,
                               QObject* parent)
    : QObject(parent)
    , m_external(external)
    , m_page(page)
    , m_isTrusted(std::move(isTrusted)) {}

void ExternalBridge::calls(const QJsonArray& batch) {
    m_waiting.push_back(batch);
    if (m_dispatching)
        return;
    m_dispatching = true;
    while (!m_waiting.empty()) {
        const QJsonArray next = std::move(m_waiting.front());
        m_waiting.pop_front();
        for (const QJsonValue& entry : next) {
            const QJsonArray call = entry.toArray();
            if (call.size() == 2 && call.at(0).isString() && call.at(1).isArray())
                this->call(call.at(0).toString(), call.at(1).toArray());
        }
    }
    m_dispatching = false;
}

void ExternalBridge::frameLoaded() {
    if (m_isTrusted && m_isTrusted(m_page))
        emit frameCompleted();
}

void ExternalBridge::call(const QString& name, const QJsonArray& args) {
    if (!m_isTrusted || !m_isTrusted(m_page))
        return;
    // The page's window.external passes its leading arguments, and each method reads the leading
    // ones it needs; extra ones would shift what the method finds.
    const qsizetype read = std::min<qsizetype>(args.size(), contract::kMostArguments);
    std::vector<Variant> values;
    for (qsizetype i = 0; i < read; ++i)
        values.push_back(toVariant(args.at(i)));
    m_external.call(name.toStdString(), values);
}

} // namespace quillo
