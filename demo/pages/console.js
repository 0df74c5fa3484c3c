// The operator console: a waiting-chat list, the hidden accept button the client clicks, and
// buttons that call the client through window.external.
(function () {
  'use strict';

  const chats = [
    { name: 'Ann', message: 'Hi, I need help with my order', waited: '2 min', wants: 'Sales', accepted: false },
    { name: 'Bob', message: 'Do you ship to Norway?', waited: '1 min', wants: 'Support', accepted: false }
  ];

  // Fields of a chat request record are separated by "|"; a bar inside a field gets a backslash.
  function record(chat) {
    return [chat.name, chat.message, chat.waited, chat.wants]
      .map(function (field) { return String(field).replace(/\|/g, '\\|'); })
      .join('|');
  }

  function render() {
    const list = document.getElementById('chatList');
    list.textContent = '';
    chats.forEach(function (chat) {
      const item = document.createElement('li');
      item.textContent = chat.name + ': "' + chat.message + '" (waiting ' + chat.waited + ', ' + chat.wants + ')' +
                         (chat.accepted ? ' - accepted' : '');
      if (chat.accepted)
        item.className = 'accepted';
      list.appendChild(item);
    });
  }

  function showCall(text) {
    document.getElementById('lastCall').textContent = text;
  }

  async function call(name, args) {
    try {
      const result = await window.demo.callExternal(name, args);
      showCall(name + ' returned ' + JSON.stringify(result === undefined ? null : result));
    } catch (e) {
      showCall(name + ' failed: ' + String((e && e.message) || e));
    }
  }

  document.getElementById('cmdHidden').addEventListener('click', function () {
    // What the client wrote into the button, read before anything else changes it.
    const text = this.innerText;
    const waiting = chats.find(function (chat) { return !chat.accepted; });
    if (waiting) {
      waiting.accepted = true;
      document.getElementById('acceptedChat').textContent = 'Accepted chat with ' + waiting.name + '.';
      render();
    }
    window.demo.report({ event: 'accepted', text: text, chat: waiting ? waiting.name : null });
  });

  document.getElementById('btnNotify').addEventListener('click', function () {
    const waiting = chats.find(function (chat) { return !chat.accepted; });
    if (waiting)
      call('CB_CustomFunctionWithParams', [record(waiting), 1]);
  });
  document.getElementById('btnFlash').addEventListener('click', function () {
    call('CB_CustomFunctionWithParams', ['', 3]);
  });
  document.getElementById('btnStopFlash').addEventListener('click', function () {
    call('CB_CustomFunctionWithParams', ['', 2]);
  });
  document.getElementById('btnCustom').addEventListener('click', function () {
    call('CB_CustomFunction', []);
  });
  document.getElementById('btnOpenWindow').addEventListener('click', function () {
    const id = document.getElementById('orderId').textContent;
    call('CB_OpenWindow', [location.origin + '/console?id=' + encodeURIComponent(id), 120, 120, 640, 480, 0]);
  });
  document.getElementById('btnClose').addEventListener('click', function () {
    call('CB_Close', []);
  });

  // What a real console does besides: its own boxes, and asking for the operator's location.
  window.demo.actions = {
    alert: function (text) {
      alert(text);
      window.demo.report({ event: 'acted', action: 'alert' });
    },
    geolocate: function () {
      navigator.geolocation.getCurrentPosition(function () {}, function () {}, { timeout: 60000 });
    },
    // A file field over the whole page, so that the operator's next click there opens the chooser
    // (a page may only open it from a click); what was chosen is reported with its size.
    attach_on_click: function () {
      const input = document.createElement('input');
      input.type = 'file';
      input.style.cssText = 'position:fixed;inset:0;width:100%;height:100%;opacity:0.01;z-index:99';
      input.addEventListener('change', function () {
        window.demo.report({ event: 'attached', files: Array.from(input.files).map(function (file) {
          return file.name + ':' + file.size;
        }) });
        input.remove();
      });
      document.body.appendChild(input);
      window.demo.report({ event: 'acted', action: 'attach_on_click' });
    },
    close_later: function (ms) {
      setTimeout(function () { call('CB_Close', []); }, ms);
    }
  };

  render();
})();
