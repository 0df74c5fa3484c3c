// window.external for the chat service's pages. Injected into the page's own script world before
// any of the page's scripts run, in every frame; active only where the origin is trusted. Each
// call is handed to the client's bridge script in its private world of the top frame, because the
// page must never hold the transport to the client itself: the top frame's own calls as a DOM
// event, a frame's calls as a message whose sender origin the browser vouches for.
(function (config) {
    'use strict';
    if (config.trusted.indexOf(location.origin) < 0)
        return;

    // Taken now, before the page can replace them.
    var dispatchEvent = EventTarget.prototype.dispatchEvent;
    var CustomEventType = CustomEvent;
    var stringify = JSON.stringify;
    var UrlType = URL;
    var topWindow = window.top;
    var slice = Array.prototype.slice;
    var maxText = config.maxTextUnits;

    // Only plain values cross; anything else arrives as null. Text is cut before it travels, so
    // a huge string cannot stall the client; a surrogate pair is never split.
    function plain(value) {
        switch (typeof value) {
        case 'string':
            if (value.length <= maxText)
                return value;
            var end = maxText;
            var last = value.charCodeAt(end - 1);
            if (last >= 0xd800 && last <= 0xdbff)
                --end;
            return value.slice(0, end);
        case 'number':
        case 'boolean':
            return value;
        default:
            return null;
        }
    }

    function send(name, args) {
        var detail = stringify([name, args]);
        if (topWindow === window) {
            dispatchEvent.call(window, new CustomEventType(config.eventName, {detail: detail}));
            return;
        }
        var message = {};
        message[config.eventName] = detail;
        // Only a top frame of a trusted origin may receive it; any other is skipped by the browser.
        config.trusted.forEach(function (origin) {
            try {
                topWindow.postMessage(message, origin);
            } catch (error) {
            }
        });
    }

    var external = {};
    config.methods.forEach(function (method) {
        external[method.name] = function () {
            var args = slice.call(arguments, 0, method.argumentCount).map(plain);
            // A relative address means the page's own; the client only sees absolute ones.
            if (method.resolvesUrl && typeof args[0] === 'string' && args[0] !== '') {
                try {
                    args[0] = new UrlType(args[0], location.href).href;
                } catch (error) {
                }
            }
            send(method.name, args);
            if (method.answersTrue)
                return true;
        };
    });
    Object.freeze(external);

    try {
        Object.defineProperty(window, 'external', {value: external, enumerable: true});
    } catch (error) {
        window.external = external;
    }
})
