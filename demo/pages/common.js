// Shared by every demo page: tells the demo service what the page saw, and runs the commands
// that tests queue for it (named window.external calls, navigations and the page's own named
// actions only, never code).
(function () {
  'use strict';

  const page = document.body.dataset.page || 'unknown';

  function versionText() {
    const element = document.getElementById('chatVersion');
    return element ? element.innerText : null;
  }

  function insideClient() {
    try {
      return Boolean(window.external && window.external.CB_IsOurCustomBrowser &&
                     window.external.CB_IsOurCustomBrowser());
    } catch (e) {
      return false;
    }
  }

  function report(fields) {
    const body = Object.assign({
      page: page,
      href: location.href,
      version: versionText(),
      external: insideClient() ? 'yes' : 'no',
      width: window.innerWidth,
      height: window.innerHeight
    }, fields);
    return fetch('/report', {
      method: 'POST',
      body: JSON.stringify(body),
      headers: { 'Content-Type': 'text/plain' },
      keepalive: true
    }).catch(function () {});
  }

  function showInsideClient() {
    const element = document.getElementById('insideClient');
    if (element)
      element.textContent = insideClient() ? 'yes' : 'no';
  }

  function sleep(ms) {
    return new Promise(function (resolve) { setTimeout(resolve, ms); });
  }

  // Calls a window.external method by name; results may be plain values or promises.
  async function callExternal(name, args) {
    const target = window.external;
    const method = target && target[name];
    if (typeof method !== 'function')
      throw new Error('window.external has no method ' + name);
    return await method.apply(target, args);
  }

  async function run(command) {
    if (typeof command.navigate === 'string') {
      await report({ event: 'navigating', url: command.navigate });
      location.href = command.navigate;
      return;
    }
    if (typeof command.action === 'string') {
      const action = window.demo.actions && window.demo.actions[command.action];
      const actionArgs = Array.isArray(command.args) ? command.args : [];
      if (typeof action === 'function')
        action.apply(null, actionArgs);
      else
        report({ event: 'acted', action: command.action, error: 'no such action' });
      return;
    }
    const name = String(command.call);
    const args = Array.isArray(command.args) ? command.args : [];
    if (!/^CB_\w+$/.test(name)) {
      report({ event: 'called', call: name, result: null, error: 'not a client method' });
      return;
    }
    // Reported first, because some calls end the page (CB_Close) or block it (CB_CustomFunction).
    await report({ event: 'calling', call: name, args: args });
    let result = null;
    let error = null;
    try {
      result = await callExternal(name, args);
    } catch (e) {
      error = String((e && e.message) || e);
    }
    report({ event: 'called', call: name, result: result === undefined ? null : result, error: error });
  }

  async function pollCommands() {
    for (;;) {
      try {
        const response = await fetch('/next-command?page=' + encodeURIComponent(page), { cache: 'no-store' });
        if (response.status === 200)
          await run(await response.json());
        else if (response.status !== 204)
          await sleep(1000);
      } catch (e) {
        await sleep(1000);
      }
    }
  }

  function watchVersion() {
    const element = document.getElementById('chatVersion');
    if (!element)
      return;
    new MutationObserver(function () {
      report({ event: 'version' });
    }).observe(element, { childList: true, characterData: true, subtree: true });
  }

  window.demo = { report: report, callExternal: callExternal, insideClient: insideClient };

  window.addEventListener('load', function () {
    showInsideClient();
    report({ event: 'load' });
    watchVersion();
    // The client writes the version when the document completes, just after this handler.
    setTimeout(function () {
      showInsideClient();
      report({ event: 'version' });
    }, 300);
    // A page opened with ?nopoll takes no commands: the browser keeps only six connections per
    // host, and a long poll holds one for as long as the page is open.
    if (!new URLSearchParams(location.search).has('nopoll'))
      pollCommands();
  });

  // The page's own size, so tests can tell that the window around it resized it.
  let resizeTimer = 0;
  window.addEventListener('resize', function () {
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(function () { report({ event: 'resize' }); }, 100);
  });
})();
