#include "browser_host/external_bridge.h"

#include "page_contract/external_dispatch.h"
#include "page_contract/log_text.h"
#include "page_contract/page_contract.h"

#include <QWebEnginePage>
#include <algorithm>
#include <vector>

Q_LOGGING_CATEGORY(lcBridge, "quillo.bridge", QtInfoMsg)

namespace quillo {

namespace {

const char* refusalText(CallRefusal refusal) {
    switch (refusal) {
    case CallRefusal::UntrustedOrigin:
        return "its origin is not trusted";
    case CallRefusal::WindowEnded:
        return "its window has ended";
    }
    return "refused";
}

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

ExternalBridge::ExternalBridge(CExternalDispatch& external, QWebEnginePage& page, QWidget& browser,
                               CallCheck mayCall, QObject* parent)
    : QObject(parent)
    , m_external(external)
    , m_page(page)
    , m_caller(browser)
    , m_mayCall(std::move(mayCall)) {}

void ExternalBridge::calls(const QJsonArray& batch) {
    m_waiting.push_back(batch);
    if (m_dispatching)
        return;
    m_dispatching = true;
    while (!m_waiting.empty()) {
        const QJsonArray next = std::move(m_waiting.front());
        m_waiting.pop_front();
        int refused = 0;
        std::optional<CallRefusal> why;
        QString refusedCaller;
        for (const QJsonValue& entry : next) {
            const QJsonArray call = entry.toArray();
            if (call.size() != 3 || !call.at(0).isString() || !call.at(1).isArray() || !call.at(2).isString())
                continue;
            const QString caller = call.at(2).toString();
            if (const auto refusal = this->call(call.at(0).toString(), call.at(1).toArray(), caller)) {
                ++refused;
                why = refusal;
                refusedCaller = caller;
            }
        }
        if (refused > 0)
            qCInfo(lcBridge).noquote() << refused << "window.external calls from"
                                       << QString::fromStdString(logText(refusedCaller.toStdString()))
                                       << "refused:" << refusalText(*why);
    }
    m_dispatching = false;
}

void ExternalBridge::frameLoaded(const QString& origin) {
    if (m_mayCall && !m_mayCall(m_page, origin))
        emit frameCompleted();
}

std::optional<CallRefusal> ExternalBridge::call(const QString& name, const QJsonArray& args,
                                                const QString& caller) {
    if (!m_mayCall)
        return CallRefusal::UntrustedOrigin;
    if (const auto refusal = m_mayCall(m_page, caller))
        return refusal;
    // The page's window.external passes its leading arguments, and each method reads the leading
    // ones it needs; extra ones would shift what the method finds.
    const qsizetype read = std::min<qsizetype>(args.size(), contract::kMostArguments);
    std::vector<Variant> values;
    for (qsizetype i = 0; i < read; ++i)
        values.push_back(toVariant(args.at(i)));
    m_external.call(name.toStdString(), values, &m_caller);
    return std::nullopt;
}

} // namespace quillo
