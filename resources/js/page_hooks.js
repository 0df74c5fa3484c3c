// What the engine does not pass on from the chat service's pages, told to the client through
// marks it reads: a notification that asks to stay, and a sound that fails. Injected into the
// page's own world before any of its scripts run, in every frame; active only where the origin
// is trusted.
(function (config) {
    'use strict';
    if (config.trusted.indexOf(location.origin) < 0)
        return;

    var info = console.info.bind(console);
    var defineProperty = Object.defineProperty;
    var getDescriptor = Object.getOwnPropertyDescriptor;
    var assign = Object.assign;
    var separator = config.markSeparator;
    var untagged = 0;

    // The engine keeps the tag and drops requireInteraction, so the wish rides on the tag.
    function marked(options) {
        if (!options || typeof options !== 'object' || !options.requireInteraction)
            return options;
        var tag = options.tag ? String(options.tag) : '';
        return assign({}, options, {
            tag: tag + config.stayMark + (tag ? '' : separator + (++untagged)),
        });
    }

    if (typeof window.Notification === 'function') {
        var PageNotification = window.Notification;
        var Wrapped = function Notification(title, options) {
            if (!new.target)
                return PageNotification(title, options);
            return Reflect.construct(PageNotification, [title, marked(options)], new.target);
        };
        Wrapped.prototype = PageNotification.prototype;
        defineProperty(PageNotification.prototype, 'constructor', {value: Wrapped, writable: true, configurable: true});
        // The statics answer for the engine's own class, whose getters want it as their receiver.
        defineProperty(Wrapped, 'permission', {get: function () { return PageNotification.permission; }});
        defineProperty(Wrapped, 'maxActions', {get: function () { return PageNotification.maxActions; }});
        Wrapped.requestPermission = function () {
            return PageNotification.requestPermission.apply(PageNotification, arguments);
        };
        window.Notification = Wrapped;

        // The page reads back the tag it gave.
        var tagGetter = getDescriptor(PageNotification.prototype, 'tag');
        if (tagGetter && tagGetter.get) {
            defineProperty(PageNotification.prototype, 'tag', {
                configurable: true,
                enumerable: tagGetter.enumerable,
                get: function () {
                    var tag = tagGetter.get.call(this);
                    var at = tag.indexOf(separator);
                    return at < 0 ? tag : tag.slice(0, at);
                },
            });
        }
    }

    if (typeof window.ServiceWorkerRegistration === 'function') {
        var proto = window.ServiceWorkerRegistration.prototype;
        var showNotification = proto.showNotification;
        if (typeof showNotification === 'function') {
            proto.showNotification = function (title, options) {
                return showNotification.call(this, title, marked(options));
            };
        }
    }

    // A sound that cannot play says nothing on its own; each failure is told once per source.
    var reported = {};
    function reportError(media) {
        if (!media || !media.error)
            return;
        var source = media.currentSrc || media.src || '';
        if (!source || reported[source])
            return;
        reported[source] = true;
        info(config.mediaErrorPrefix + media.error.code + '\t' + source + '\t' + (media.error.message || ''));
    }

    // Errors of media elements do not bubble; the capture phase sees those in the document.
    window.addEventListener('error', function (event) {
        var target = event.target;
        if (target instanceof HTMLMediaElement)
            reportError(target);
    }, true);

    // Audio() objects never join the document, so they are watched from their creation.
    if (typeof window.Audio === 'function') {
        var PageAudio = window.Audio;
        var WatchedAudio = function Audio(src) {
            var audio = arguments.length ? new PageAudio(src) : new PageAudio();
            audio.addEventListener('error', function () { reportError(audio); });
            return audio;
        };
        WatchedAudio.prototype = PageAudio.prototype;
        window.Audio = WatchedAudio;
    }
})
