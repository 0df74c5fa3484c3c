// Shared by the hostile pages: calls window.external without waiting for the page's own checks,
// counts what threw, and tells the demo service when the attack is over.
(function () {
  'use strict';

  function attempt(name, args) {
    try {
      const method = window.external && window.external[name];
      if (typeof method !== 'function')
        return Promise.resolve('missing');
      return Promise.resolve(method.apply(window.external, args)).then(
        function () { return 'ok'; }, function () { return 'rejected'; });
    } catch (e) {
      return Promise.resolve('threw');
    }
  }

  async function run(name, attack) {
    const started = performance.now();
    const outcomes = await attack(attempt);
    const counts = {};
    (outcomes || []).forEach(function (outcome) { counts[outcome] = (counts[outcome] || 0) + 1; });
    window.demo.report({ event: 'hostile-done', attack: name, counts: counts, ms: Math.round(performance.now() - started) });
  }

  window.hostile = { attempt: attempt, run: run };
})();
