// The page bridge's element walk. Runs in the client's own script world, so the page's script can
// neither see nor replace it; called with one request object that the client JSON-encodes.
// Visits every element of the top-level document in document order and acts on exact id matches:
// writes the version, collects the order-number texts (the client decides what to store), and on
// accept sets the text of every accept element and clicks it.
(function (request) {
    'use strict';
    var orderTexts = [];
    // A snapshot taken at the start: a click handler that changes the document does not change
    // which elements this walk visits.
    var elements = document.querySelectorAll('*');
    for (var i = 0; i < elements.length; ++i) {
        var element = elements[i];
        var id = element.id;
        if (typeof id !== 'string' || id.length === 0)
            continue;
        try {
            if (request.scan) {
                if (id === request.versionId)
                    element.innerText = request.versionText;
                if (id === request.orderId)
                    orderTexts.push(String(element.innerHTML));
            }
            if (request.accept && id === request.acceptId) {
                element.innerText = request.acceptText;
                if (typeof element.click === 'function')
                    element.click();
            }
        } catch (error) {
            // One element that refuses (an SVG element has no inner text) must not end the walk.
        }
    }
    return orderTexts;
})
