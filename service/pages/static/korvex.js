/* Shared page helpers. ES5 only: the client's web views run an old engine. */
(function (window, document) {
    'use strict';

    var K = {};
    var queue = [];
    var sending = false;

    K.path = window.location.pathname;
    K.data = window.KORVEX_DATA || {};

    K.categories = {
        FBN: { label: '快讯', color: '#1d52a9' },
        ES: { label: '经济数据', color: '#7b3fa0' },
        ME: { label: '宏观', color: '#138a72' },
        Forex: { label: '外汇', color: '#1f7fc4' },
        PM: { label: '贵金属', color: '#b8860b' },
        Oil: { label: '原油', color: '#5d4037' },
        Copper: { label: '铜', color: '#c25a12' }
    };

    // Item values are data: never look them up on an object's prototype chain.
    K.has = function (object, key) { return Object.prototype.hasOwnProperty.call(object, key); };
    K.category = function (type) { return K.has(K.categories, type) ? K.categories[type] : null; };

    function flush() {
        if (sending || queue.length === 0) return;
        var batch = queue;
        queue = [];
        sending = true;
        var xhr = new XMLHttpRequest();
        xhr.open('POST', '/__report', true);
        xhr.setRequestHeader('Content-Type', 'application/json; charset=utf-8');
        xhr.onreadystatechange = function () {
            if (xhr.readyState !== 4) return;
            sending = false;
            flush();
        };
        try {
            xhr.send(JSON.stringify({ events: batch }));
        } catch (e) {
            sending = false;
        }
    }

    function toList(args) {
        var out = [];
        for (var i = 0; i < args.length; ++i) {
            var a = args[i];
            out.push(a === undefined || a === null ? null : (typeof a === 'object' ? a : String(a)));
        }
        return out;
    }

    // Tells the service about a call; batched so a flood of items costs few requests.
    K.report = function (kind, name, args) {
        queue.push({ kind: kind, 'function': name, args: toList(args || []), time: new Date().getTime(), path: K.path });
        flush();
    };

    // Defines a global function the programs call, reporting every call first.
    K.expose = function (name, fn) {
        window[name] = function () {
            var args = Array.prototype.slice.call(arguments);
            K.report('call', name, args);
            try {
                return fn.apply(window, args);
            } catch (e) {
                K.report('error', name, [String(e && e.message ? e.message : e)]);
                return undefined;
            }
        };
    };

    // Calls a member of an object the program placed into the page; in a plain
    // browser the object is absent and the call reports false.
    K.bridge = function (object, member, args) {
        args = args || [];
        K.report('bridge', object + '.' + member, args);
        var target = window[object];
        if (!target || typeof target[member] !== 'function') return false;
        try {
            target[member].apply(target, args);
        } catch (e) {
            K.report('error', object + '.' + member, [String(e && e.message ? e.message : e)]);
        }
        return true;
    };

    window.onerror = function (message, source, line) {
        K.report('error', 'onerror', [String(message), String(source || ''), String(line || '')]);
        return false;
    };

    // Item text: one enclosing character each side of a JSON object.
    K.parseItem = function (text) {
        if (typeof text !== 'string' || text.length < 2) return null;
        try {
            var value = JSON.parse(text.substring(1, text.length - 1));
            return value && typeof value === 'object' && !(value instanceof Array) ? value : null;
        } catch (e) {
            return null;
        }
    };

    var entities = { nbsp: '\u00a0', lt: '<', gt: '>', amp: '&', quot: '"' };
    K.decode = function (value) {
        if (value === undefined || value === null) return '';
        return String(value).replace(/&(nbsp|lt|gt|amp|quot);/g, function (m, name) { return entities[name]; });
    };

    K.el = function (tag, className, text) {
        var node = document.createElement(tag);
        if (className) node.className = className;
        if (text !== undefined && text !== null) node.appendChild(document.createTextNode(K.decode(text)));
        return node;
    };

    K.cookie = function (name) {
        var parts = document.cookie ? document.cookie.split(';') : [];
        for (var i = 0; i < parts.length; ++i) {
            var p = parts[i].replace(/^\s+/, '');
            if (p.indexOf(name + '=') === 0) {
                try {
                    return decodeURIComponent(p.substring(name.length + 1));
                } catch (e) {
                    return p.substring(name.length + 1);
                }
            }
        }
        return null;
    };

    // Hours the user's zone is ahead of the service's clock (cookie "setLanguage").
    K.offset = function () {
        var v = parseFloat(K.cookie('setLanguage'));
        return isFinite(v) && Math.abs(v) < 48 ? v : 0;
    };

    function pad(n) { return n < 10 ? '0' + n : String(n); }

    // Service time "yyyy-MM-dd hh:mm[:ss]" shifted into the user's zone.
    K.localTime = function (text) {
        var m = /^(\d{4})-(\d{2})-(\d{2}) (\d{2}):(\d{2})(?::(\d{2}))?/.exec(String(text || ''));
        if (!m) return { date: '', time: K.decode(text) };
        var ms = Date.UTC(+m[1], +m[2] - 1, +m[3], +m[4], +m[5], +(m[6] || 0)) + K.offset() * 3600000;
        var d = new Date(ms);
        return {
            date: d.getUTCFullYear() + '-' + pad(d.getUTCMonth() + 1) + '-' + pad(d.getUTCDate()),
            time: pad(d.getUTCHours()) + ':' + pad(d.getUTCMinutes())
        };
    };

    K.important = function (item) {
        return Number(item.importance) === 1 || (item.vek_news_type === 'ES' && parseInt(item.star, 10) >= 5);
    };

    // A note of an "ES" item; one starting with 利多 is set in 【】.
    K.note = function (text) {
        text = K.decode(text);
        return text.indexOf('利多') === 0 ? '【' + text + '】' : text;
    };

    K.stars = function (n) {
        n = Math.max(0, Math.min(5, parseInt(n, 10) || 0));
        return new Array(n + 1).join('\u2605') + new Array(6 - n).join('\u2606');
    };

    // "list" is codes each led by a comma, or one bare code. An empty list
    // means no category is wanted: the client sends it when the user has
    // unsubscribed from every one. Pages show all only until the first call.
    K.parseTypes = function (list) {
        var set = {};
        var parts = String(list || '').split(',');
        for (var i = 0; i < parts.length; ++i) {
            var code = parts[i].replace(/^\s+|\s+$/g, '');
            if (code) set[code] = true;
        }
        return set;
    };

    // One news entry; every value goes in as text, never as markup.
    K.renderItem = function (item, text, options) {
        options = options || {};
        var type = item ? String(item.vek_news_type || '') : '';
        var cat = K.category(type) || { label: type || '资讯', color: '#777' };
        var li = K.el('li', 'news');
        li.setAttribute('data-type', type);
        if (item && K.important(item)) li.className += ' important';
        var head = K.el('div', 'news-head');
        var tag = K.el('span', 'tag', cat.label);
        tag.style.backgroundColor = cat.color;
        head.appendChild(tag);
        var when = item ? K.localTime(item.time) : { date: '', time: '' };
        head.appendChild(K.el('span', 'time', when.time));
        if (!options.compact && when.date) head.appendChild(K.el('span', 'date', when.date));
        li.appendChild(head);
        if (!item) {
            li.appendChild(K.el('div', 'content raw', text));
            return li;
        }
        if (type === 'ES') {
            li.appendChild(K.el('div', 'title', (item.country ? item.country + ' ' : '') + (item.eventname || item.title || '')));
            var row = K.el('div', 'values');
            row.appendChild(K.el('span', 'stars', K.stars(item.star)));
            row.appendChild(K.el('span', '', '前值 ' + K.decode(item.front_value)));
            row.appendChild(K.el('span', '', '预期 ' + K.decode(item.forecast_value)));
            row.appendChild(K.el('span', 'real', '公布 ' + K.decode(item.real_value)));
            li.appendChild(row);
            var notes = K.note(item.goldsilver) + ' ' + K.note(item.currency);
            if (notes.replace(/\s/g, '')) li.appendChild(K.el('div', 'notes', notes));
        } else {
            li.appendChild(K.el('div', 'title', item.title || ''));
            if (!options.compact && item.content && item.content !== item.title)
                li.appendChild(K.el('div', 'content', item.content));
        }
        var id = parseInt(item.id, 10);
        if (id > 0 && options.onOpen) {
            li.className += ' link';
            li.onclick = function () { options.onOpen(String(id)); };
        }
        return li;
    };

    K.request = function (method, url, body, done) {
        var xhr = new XMLHttpRequest();
        xhr.open(method, url, true);
        xhr.setRequestHeader('Content-Type', 'application/json; charset=utf-8');
        xhr.onreadystatechange = function () {
            if (xhr.readyState !== 4) return;
            var value = null;
            try { value = JSON.parse(xhr.responseText); } catch (e) { value = null; }
            done(xhr.status, value || {});
        };
        xhr.send(body ? JSON.stringify(body) : null);
    };

    K.byId = function (id) { return document.getElementById(id); };

    K.setText = function (node, text) {
        while (node.firstChild) node.removeChild(node.firstChild);
        node.appendChild(document.createTextNode(K.decode(text)));
    };

    // Form helpers of the account pages.
    K.val = function (id) { return K.byId(id).value.replace(/^\s+|\s+$/g, ''); };
    K.message = function (text, ok) {
        var m = K.byId('message');
        m.className = ok ? 'message ok' : 'message';
        K.setText(m, text);
    };
    K.query = function (name) {
        var m = new RegExp('[?&]' + name + '=([^&#]*)').exec(window.location.search);
        if (!m) return '';
        try { return decodeURIComponent(m[1].replace(/\+/g, ' ')); } catch (e) { return ''; }
    };
    K.go = function (path) { window.location.href = path; };

    // The address and the time-zone cookie this page was loaded with.
    K.report('load', 'load', [window.location.href, K.cookie('setLanguage')]);
    window.Korvex = K;
})(window, document);
