// The client's half of window.external, in the client's private script world of a top frame of a
// trusted origin: takes the calls that the page's window.external hands over, its own and those
// its trusted frames post, and sends them, in order, through the web channel, which only the top
// frame can use. Calls wait in a queue until the channel is up, and the calls a page makes in one
// go travel together, so a burst costs one message, not one each. Runs after Qt's web channel
// client, which the client prepends.
(function (config) {
    'use strict';
    if (config.trusted.indexOf(location.origin) < 0)
        return;
    if (window.top !== window || typeof qt === 'undefined' || !qt.webChannelTransport)
        return;

    var pending = [];
    var bridge = null;
    var flushQueued = false;
    // Bounds one message, so even a page that calls without pause never builds a giant one.
    var maxBatch = 1000;

    function flush() {
        flushQueued = false;
        if (bridge === null)
            return;
        while (pending.length > 0)
            bridge.calls(pending.splice(0, maxBatch));
    }

    // origin: the calling frame's, as the browser gives it, for the client to judge each call by.
    function take(detail, origin) {
        if (typeof detail !== 'string')
            return;
        var call;
        try {
            call = JSON.parse(detail);
        } catch (error) {
            return;
        }
        if (!Array.isArray(call) || typeof call[0] !== 'string' || !Array.isArray(call[1]))
            return;
        pending.push([call[0], call[1], origin]);
        // Sent once the page's current script has run, in the order the calls were made.
        if (!flushQueued && bridge !== null) {
            flushQueued = true;
            Promise.resolve().then(flush);
        }
    }

    window.addEventListener(config.eventName, function (event) {
        take(event.detail, location.origin);
    }, true);
    window.addEventListener('message', function (event) {
        var data = event.data;
        if (config.trusted.indexOf(event.origin) < 0 || data === null || typeof data !== 'object')
            return;
        take(data[config.eventName], event.origin);
    }, true);

    // A frame that finishes loading may have changed the top document (an order number written
    // by the frame's script), so the client scans it again. One notice for a burst of frames.
    var frameNoticeQueued = false;
    var frameLoadedEarly = false;
    function noticeFrame() {
        frameNoticeQueued = false;
        if (bridge === null)
            frameLoadedEarly = true;
        else
            bridge.frameLoaded(location.origin);
    }
    document.addEventListener('load', function (event) {
        var name = event.target && event.target.nodeName;
        if ((name !== 'IFRAME' && name !== 'FRAME') || frameNoticeQueued)
            return;
        frameNoticeQueued = true;
        setTimeout(noticeFrame, 0);
    }, true);

    new QWebChannel(qt.webChannelTransport, function (channel) {
        bridge = channel.objects[config.objectName] || null;
        flush();
        if (frameLoadedEarly && bridge !== null) {
            frameLoadedEarly = false;
            bridge.frameLoaded(location.origin);
        }
    });
})
