// What the engine does not pass on from the chat service's pages, told to the client through
// marks it reads: a notification that asks to stay, and where a sound that fails came from.
// Injected into the page's own world before any of its scripts run, in every frame; active only
// where the origin is trusted.
(function (config) {
    'use strict';
    if (config.trusted.indexOf(location.origin) < 0)
        return;

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

    // A sound that cannot play says nothing on its own. Errors of media elements in the document
    // reach the client's own script in its private world as they are; Audio() objects never join
    // the document, so their sources are named to that script, which tries each one itself: this
    // world is the page's, and what it says is only a hint.
    var dispatchEvent = EventTarget.prototype.dispatchEvent;
    var CustomEventType = CustomEvent;
    if (typeof window.Audio === 'function') {
        var PageAudio = window.Audio;
        var WatchedAudio = function Audio(src) {
            var audio = arguments.length ? new PageAudio(src) : new PageAudio();
            audio.addEventListener('error', function () {
                var source = audio.currentSrc || audio.src || '';
                if (source)
                    dispatchEvent.call(window, new CustomEventType(config.mediaCheckEvent, {detail: source}));
            });
            return audio;
        };
        WatchedAudio.prototype = PageAudio.prototype;
        window.Audio = WatchedAudio;
    }
})
