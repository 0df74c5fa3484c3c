// The client's half of window.external, in the client's private script world of a top frame of a
// trusted origin: takes the calls that the page's window.external hands over, its own and those
// its trusted frames post, and sends them, in order, through the web channel, which only the top
// frame can use. Calls made before the channel is up wait in a queue. Runs after Qt's web channel
// client, which the client prepends.
(function (config) {
    'use strict';
    if (config.trusted.indexOf(location.origin) < 0)
        return;
    if (window.top !== window || typeof qt === 'undefined' || !qt.webChannelTransport)
        return;

    var pending = [];
    var bridge = null;

    function take(detail) {
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
        if (bridge === null)
            pending.push(call);
        else
            bridge.call(call[0], call[1]);
    }

    window.addEventListener(config.eventName, function (event) {
        take(event.detail);
    }, true);
    window.addEventListener('message', function (event) {
        var data = event.data;
        if (config.trusted.indexOf(event.origin) < 0 || data === null || typeof data !== 'object')
            return;
        take(data[config.eventName]);
    }, true);

    new QWebChannel(qt.webChannelTransport, function (channel) {
        bridge = channel.objects[config.objectName];
        for (var i = 0; i < pending.length; ++i)
            bridge.call(pending[i][0], pending[i][1]);
        pending = [];
    });
})
