// Tells the client of a trusted page's sound or video that cannot play, which the engine does not
// pass on. Runs in the client's private world of every frame, active only where the frame's own
// origin is trusted: its reports carry the run's token, which the page's script never sees, so the
// client hears this script alone. Errors of media elements in the document are the engine's own
// events; a source that the page's world names (an Audio() object, which never joins the
// document) is tried here before it is reported, so the page cannot make up a failure.
(function (config) {
    'use strict';
    if (config.trusted.indexOf(location.origin) < 0)
        return;

    var info = console.info.bind(console);
    var reported = {};
    var tried = {};
    var tries = 0;

    // Each failure is told once per source.
    function report(media) {
        if (!media || !media.error)
            return;
        var source = media.currentSrc || media.src || '';
        if (!source || reported[source])
            return;
        reported[source] = true;
        info(config.reportPrefix + config.token + '\t' + location.origin + '\t' + media.error.code + '\t' +
             source + '\t' + (media.error.message || ''));
    }

    // Errors of media elements do not bubble; the capture phase sees those in the document.
    window.addEventListener('error', function (event) {
        if (event.target instanceof HTMLMediaElement)
            report(event.target);
    }, true);

    window.addEventListener(config.mediaCheckEvent, function (event) {
        var source = event.detail;
        if (typeof source !== 'string' || !source || reported[source] || tried[source] || tries >= config.maxTries)
            return;
        tried[source] = true;
        ++tries;
        var audio = new Audio();
        audio.preload = 'auto';
        audio.addEventListener('error', function () { report(audio); });
        audio.src = source;
    }, true);
})
