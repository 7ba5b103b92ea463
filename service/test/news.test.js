'use strict';
// The socket.io-client 1.7.4 package the listener's page script comes from
// (root node_modules) against every news port, with default transports and
// with long-polling forced.
const test = require('node:test');
const assert = require('node:assert');
const path = require('path');
const { startService, waitFor, ROOT } = require('./helpers');

const ioClient = require(path.join(ROOT, 'node_modules', 'socket.io-client'));

function connect(port, transports) {
    const opts = { forceNew: true, reconnection: false, timeout: 5000 };
    if (transports) opts.transports = transports;
    const socket = ioClient(`http://127.0.0.1:${port}`, opts);
    const received = [];
    socket.on('pushToWebClient', (data) => received.push(data));
    return new Promise((resolve, reject) => {
        socket.once('connect', () => resolve({ socket, received }));
        socket.once('connect_error', (e) => { socket.close(); reject(e); });
    });
}

const CHINESE = [
    { id: 1, vek_news_type: 'FBN', title: '[快讯]美联储宣布降息25个基点', time: '2026-12-07 15:00:00', importance: 1 },
    { id: 2, vek_news_type: 'PM', title: '现货黄金日内涨超1%，报2712.50美元/盎司', time: '2026-12-07 15:00:01', importance: 0 },
    { id: 3, vek_news_type: 'ES', title: '美国11月非农', country: '美国', eventname: '非农就业人口', star: 5,
        currency: '利多美元', time: '2026-12-07 15:00:02', importance: 0 },
];

test('news ports deliver pushed items in order', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    assert.strictEqual(svc.ports.news.length, 3);
    assert.strictEqual(new Set(svc.ports.news).size, 3, 'three distinct ports');

    for (const transports of [null, ['polling']]) {
        const mode = transports ? 'polling' : 'default transports';
        const clients = [];
        for (const port of svc.ports.news) clients.push(await connect(port, transports));
        try {
            const texts = [];
            for (const item of CHINESE) {
                const r = await svc.control('POST', '/push', { item });
                assert.strictEqual(r.status, 200);
                assert.strictEqual(r.json.clients, 3, `${mode}: every port's client is counted`);
                texts.push(`[${JSON.stringify(item)}]`);
            }
            // one raw text with an apostrophe, a backslash and a line separator
            const raw = "[{\"vek_news_type\":\"FBN\",\"title\":\"It's 5\\\\3 \u2028 </script>\"}]";
            await svc.control('POST', '/push', { text: raw });
            texts.push(raw);
            // a huge item (about 3 MB of UTF-8) arrives whole
            const huge = `[${JSON.stringify({ vek_news_type: 'ME', title: '长'.repeat(1 << 20) })}]`;
            await svc.control('POST', '/push', { text: huge });
            texts.push(huge);
            for (const c of clients) {
                // A 3 MB item over polling is slow on a busy machine; the bound only stops a hang.
                await waitFor(() => c.received.length >= texts.length, 30000, `${mode} items`);
                assert.deepStrictEqual(c.received, texts, `${mode}: same texts, same order, nothing else`);
            }
        } finally {
            for (const c of clients) c.socket.close();
        }
    }
});

test('a burst arrives complete and in sequence on every port', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    const clients = [];
    for (const port of svc.ports.news) clients.push(await connect(port, ['polling']));
    t.after(() => clients.forEach((c) => c.socket.close()));

    const before = Date.now();
    const r = await svc.control('POST', '/burst', { count: 200, rate: 2000, type: 'Forex', wait: true });
    assert.strictEqual(r.status, 200, r.text);
    assert.deepStrictEqual([r.json.burst.firstSeq, r.json.burst.lastSeq, r.json.burst.done], [1, 200, true]);
    for (const c of clients) {
        await waitFor(() => c.received.length >= 200, 10000, 'burst items');
        const items = c.received.map((text) => JSON.parse(text.slice(1, -1)));
        assert.deepStrictEqual(items.map((i) => i.seq), Array.from({ length: 200 }, (_, i) => i + 1));
        for (let i = 0; i < items.length; ++i) {
            assert.strictEqual(items[i].vek_news_type, 'Forex');
            assert.ok(items[i].sent >= before && items[i].sent <= Date.now(), 'send time on the same clock');
            if (i > 0) assert.ok(items[i].sent >= items[i - 1].sent, 'send times never go back');
        }
    }
    // the next burst continues the numbering
    const next = await svc.control('POST', '/burst', { count: 1, rate: 1, wait: true });
    assert.strictEqual(next.json.burst.firstSeq, 201);
});

test('replay sends sample items stamped with the service clock', async (t) => {
    const svc = await startService(['--replay', '--replay-interval=20']);
    t.after(() => svc.stop());
    const c = await connect(svc.ports.news[1]);
    t.after(() => c.socket.close());
    await waitFor(() => c.received.length >= 3, 5000, 'replayed items');
    const item = JSON.parse(c.received[0].slice(1, -1));
    assert.match(item.time, /^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}$/);
    const beijing = new Date(Date.now() + 8 * 3600e3).toISOString().slice(0, 10);
    assert.strictEqual(item.time.slice(0, 10), beijing, 'the service runs on Beijing time');
    const off = await svc.control('POST', '/replay', { on: false });
    assert.strictEqual(off.json.replay, false);
});

test('a 2.x news server reaches the 1.7.4 client over websocket only', async (t) => {
    const svc = await startService(['--news-server=2']);
    t.after(() => svc.stop());
    const ws = await connect(svc.ports.news[0], ['websocket']);
    const polling = await connect(svc.ports.news[1], ['polling']);
    t.after(() => { ws.socket.close(); polling.socket.close(); });
    const texts = CHINESE.map((item) => `[${JSON.stringify(item)}]`);
    for (const text of texts) await svc.control('POST', '/push', { text });
    await waitFor(() => ws.received.length >= texts.length, 5000, 'websocket items');
    assert.deepStrictEqual(ws.received, texts);
    // why the default is 1.x: over long-polling this pair delivers nothing
    await svc.control('POST', '/push', { text: '[{"title":"last"}]' });
    await waitFor(() => ws.received.length > texts.length, 5000, 'last item');
    assert.deepStrictEqual(polling.received, []);
});

test('a notice reaches connected clients at once and stays out of the history', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    const client = await connect(svc.ports.news[0]);
    t.after(() => client.socket.close());
    const r = await svc.control('POST', '/notice', { seconds: 7, title: '维护', text: '今晚维护' });
    assert.strictEqual(r.status, 200);
    assert.strictEqual(r.json.clients, 1);
    await waitFor(() => client.received.length === 1);
    const item = JSON.parse(client.received[0])[0];
    assert.strictEqual(item.notice, 7);
    assert.strictEqual(item.title, '维护');
    assert.strictEqual(item.vek_news_type, 'FBN');
    assert.deepStrictEqual((await svc.control('GET', '/history')).json.items, []);
});
