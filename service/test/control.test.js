'use strict';
// Control API round trips, bad input, the update host and the service's life.
const test = require('node:test');
const assert = require('node:assert');
const { execFileSync, spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { startService, request, waitFor } = require('./helpers');

test('page reports round-trip through the control API', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    const calls = [
        { kind: 'call', function: 'OutputMsg', args: ['[{"title":"一"}]'], time: 1000, path: '/Expresslive' },
        { kind: 'call', function: 'iojieshou', args: ['[{"title":"二"}]'], time: 1001, path: '/wicket' },
        { kind: 'bridge', function: 'Popconjs.achieveid', args: ['12'], time: 1002, path: '/wicket' },
    ];
    assert.strictEqual((await svc.web('POST', '/__report', { events: calls.slice(0, 2) })).status, 200);
    assert.strictEqual((await svc.web('POST', '/__report', calls[2])).status, 200, 'a single event is fine too');

    let r = await svc.control('GET', '/events');
    assert.deepStrictEqual(r.json.events.map((e) => [e.seq, e.function, e.args, e.time, e.path, e.kind]),
        calls.map((c, i) => [i + 1, c.function, c.args, c.time, c.path, c.kind]));
    r = await svc.control('GET', '/events?function=iojieshou');
    assert.deepStrictEqual(r.json.events.map((e) => e.args[0]), ['[{"title":"二"}]']);
    r = await svc.control('GET', '/events?path=%2Fwicket&kind=bridge');
    assert.deepStrictEqual(r.json.events.map((e) => e.function), ['Popconjs.achieveid']);
    r = await svc.control('GET', '/events?since=2');
    assert.deepStrictEqual(r.json.events.map((e) => e.seq), [3]);
    assert.strictEqual(r.json.last, 3);

    await svc.control('POST', '/push', { text: '[{"title":"三"}]' });
    assert.deepStrictEqual((await svc.control('GET', '/history')).json.items, ['[{"title":"三"}]']);
    assert.strictEqual((await svc.control('POST', '/notice', { seconds: 5, text: '维护通知' })).status, 200);
    assert.strictEqual(JSON.parse(/KORVEX_DATA = (.*);</.exec((await svc.web('GET', '/index/gg')).text)[1]).notice.seconds, 5);

    assert.strictEqual((await svc.control('POST', '/reset')).status, 200);
    assert.deepStrictEqual((await svc.control('GET', '/events')).json.events, []);
    assert.deepStrictEqual((await svc.control('GET', '/history')).json.items, []);
    assert.strictEqual(JSON.parse(/KORVEX_DATA = (.*);</.exec((await svc.web('GET', '/index/gg')).text)[1]).notice, null);
});

test('bad control input gets 400 and the service keeps running', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    const bad = [
        ['POST', '/push', '{"text": '],
        ['POST', '/push', '[1,2]'],
        ['POST', '/push', Buffer.from([0x7b, 0x22, 0x74, 0x22, 0x3a, 0x22, 0xff, 0xfe, 0x22, 0x7d])],
        ['POST', '/push', { text: 42 }],
        ['POST', '/push', { text: '' }],
        ['POST', '/push', {}],
        ['POST', '/burst', { count: 0, rate: 10 }],
        ['POST', '/burst', { count: 10, rate: -1 }],
        ['POST', '/burst', { count: 1.5, rate: 10 }],
        ['POST', '/burst', { count: 10, rate: 10, type: 'Gold' }],
        ['POST', '/burst', { count: 1e9, rate: 10 }],
        ['POST', '/update', { version: 1 }],
        ['POST', '/update', { size: -5 }],
        ['POST', '/update', { size: 'big' }],
        ['POST', '/update', { truncate: 'x' }],
        ['POST', '/update', { version: 'a\nb' }],
        ['POST', '/update', { sha256: 5 }],
        ['POST', '/update', { description: 'zip' }],
        ['POST', '/update', { stall: -2 }],
        ['POST', '/update', { delay: -1 }],
        ['POST', '/notice', { seconds: 0 }],
        ['POST', '/replay', { on: 'yes' }],
        ['GET', '/events?since=abc'],
        ['GET', '/events?limit=0'],
    ];
    for (const [method, p, body] of bad) {
        const r = await svc.control(method, p, body);
        assert.strictEqual(r.status, 400, `${method} ${p} ${JSON.stringify(body)}: ${r.text}`);
        assert.strictEqual(typeof r.json.error, 'string');
    }
    assert.strictEqual((await svc.control('GET', '/nothing')).status, 404);
    assert.strictEqual((await svc.control('DELETE', '/push')).status, 404);
    const reports = ['{', '{"events":[{"args":[]}]}', '{"function":"x","time":"soon"}', '{"function":"x","kind":"other"}'];
    for (const body of reports) assert.strictEqual((await svc.web('POST', '/__report', body)).status, 400, body);
    assert.strictEqual((await svc.web('GET', '/__report')).status, 405);
    const ok = await svc.control('GET', '/status');
    assert.strictEqual(ok.status, 200);
    assert.deepStrictEqual(ok.json.ports, svc.ports);
    assert.deepStrictEqual((await svc.control('GET', '/events')).json.events, [], 'nothing bad was recorded');
});

test('update host serves what the control API set, and the installer records its runs', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    let xml = (await svc.web('GET', '/update-win.xml')).text;
    assert.match(xml, /<Version>1\.1\.000303<\/Version>/, 'by default the client is up to date');
    const def = (await svc.control('GET', '/update')).json.update;
    assert.match(xml, new RegExp(`<Size>${def.size}</Size>`));
    assert.strictEqual((await svc.web('GET', '/setup.exe')).raw.length, def.size, 'installer size matches "Size"');

    await svc.control('POST', '/update', { version: '1.1.000304', size: 4096 });
    for (const p of ['/update-win.xml', '/update.xml', '/updates/']) {
        xml = (await svc.web('GET', p)).text;
        assert.match(xml, /<Version>1\.1\.000304<\/Version>\s*<Size>4096<\/Size>/, p);
    }
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'korvex-installer-'));
    t.after(() => fs.rmSync(dir, { recursive: true, force: true }));
    for (const p of ['/Korvex-win.exe', '/setup.exe']) {
        const r = await svc.web('GET', p);
        assert.strictEqual(r.raw.length, 4096, p);
        assert.strictEqual(Number(r.headers['content-length']), 4096);
        assert.ok(r.text.startsWith('#!/bin/sh\n'));
        fs.writeFileSync(path.join(dir, path.basename(p)), r.raw, { mode: 0o755 });
    }
    execFileSync(path.join(dir, 'Korvex-win.exe'), ['/SP-', '/silent', '/noicons', '/VERYSILENT'], { cwd: dir });
    execFileSync(path.join(dir, 'setup.exe'), ["it's", 'two words', ''], { cwd: dir });
    const runs = (await svc.control('GET', '/installer-runs')).json.runs;
    assert.deepStrictEqual(runs.map((r) => r.args), [['/SP-', '/silent', '/noicons', '/VERYSILENT'], ["it's", 'two words', '']]);
    assert.strictEqual(runs[0].file, path.join(dir, 'Korvex-win.exe'));
    assert.strictEqual(runs[0].cwd, fs.realpathSync(dir));
    assert.ok(runs[0].time > Date.now() - 60000 && runs[0].time <= Date.now());

    // a size below the script's own length cannot be met: the file then differs from "Size"
    await svc.control('POST', '/update', { size: 10 });
    assert.notStrictEqual((await svc.web('GET', '/setup.exe')).raw.length, 10);
    // a broken download: the length is announced, part of it arrives, the line drops
    await svc.control('POST', '/update', { size: 4096, truncate: 100 });
    await assert.rejects(svc.web('GET', '/Korvex-win.exe'));
    await svc.control('POST', '/update', { truncate: -1, missing: true });
    assert.strictEqual((await svc.web('GET', '/update-win.xml')).status, 404);
    const update = (await svc.control('GET', '/update')).json.update;
    assert.deepStrictEqual(update.downloads.slice(-2).map((d) => [d.path, d.bytes, d.complete]),
        [['/Korvex-win.exe', 100, false], ['/update-win.xml', 0, false]]);

    await svc.control('POST', '/reset');
    const reset = (await svc.control('GET', '/update')).json.update;
    assert.deepStrictEqual([reset.version, reset.missing, reset.runs.length], ['1.1.000303', false, 0]);
});

test('update host serves the hash, broken descriptions, and downloads that stall or wait', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    const crypto = require('crypto');
    await svc.control('POST', '/update', { version: '1.1.000304', size: 4096 });
    const installer = (await svc.web('GET', '/Korvex-win.exe')).raw;
    const hash = crypto.createHash('sha256').update(installer).digest('hex');
    let xml = (await svc.web('GET', '/update-win.xml')).text;
    assert.match(xml, new RegExp(`<Sha256>${hash}</Sha256>`), 'by default the real hash');

    await svc.control('POST', '/update', { version: null, sizeText: '-5', sha256: 'ab' });
    xml = (await svc.web('GET', '/update-win.xml')).text;
    assert.doesNotMatch(xml, /<Version>/);
    assert.match(xml, /<Size>-5<\/Size>\s*<Sha256>ab<\/Sha256>/);
    await svc.control('POST', '/update', { sha256: null });
    assert.doesNotMatch((await svc.web('GET', '/update-win.xml')).text, /Sha256/);

    await svc.control('POST', '/update', { description: 'not-xml' });
    assert.doesNotMatch((await svc.web('GET', '/update-win.xml')).text, /^<\?xml/);
    await svc.control('POST', '/update', { description: 'bomb' });
    assert.match((await svc.web('GET', '/update-win.xml')).text, /<!ENTITY e10 "(&e9;){10}">/);
    await svc.control('POST', '/update', { description: 'huge' });
    const huge = await svc.web('GET', '/update.xml');
    assert.strictEqual(huge.raw.length, 50 * 1024 * 1024);
    assert.ok(huge.text.endsWith('<Version>9.9.9</Version></update>\n'));

    // a stalled download: the first bytes arrive, then nothing while the line stays open
    await svc.control('POST', '/update', { description: 'normal', stall: 100 });
    const got = await new Promise((resolve, reject) => {
        const req = require('http').get({ host: '127.0.0.1', port: svc.ports.web, path: '/Korvex-win.exe' }, (res) => {
            let bytes = 0;
            res.on('data', (c) => { bytes += c.length; });
            setTimeout(() => { req.destroy(); resolve([res.headers['content-length'], bytes]); }, 500);
        });
        req.on('error', reject);
    });
    assert.deepStrictEqual(got, ['4096', 100]);

    await svc.control('POST', '/update', { stall: -1, delay: 300 });
    const before = Date.now();
    assert.strictEqual((await svc.web('GET', '/update-win.xml')).status, 200);
    assert.ok(Date.now() - before >= 250, 'answered after the delay');

    // held until released
    await svc.control('POST', '/update', { delay: 0, hold: true });
    let answered = false;
    const held = svc.web('GET', '/update-win.xml').then((r) => { answered = true; return r; });
    await waitFor(async () => (await svc.control('GET', '/update')).json.update.held === 1, 5000, 'a held request');
    assert.strictEqual(answered, false);
    await svc.control('POST', '/update', { hold: false });
    assert.strictEqual((await held).status, 200);
    assert.strictEqual((await svc.web('POST', '/update', {})).status, 405);
    assert.strictEqual((await svc.control('POST', '/update', { hold: 'no' })).status, 400);
});

test('demo accounts: login, register and activate, recover and change the password', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    const api = (p, body) => svc.web('POST', `/api/${p}`, body);
    let r = await api('login', { email: 'demo@korvex.test', password: 'korvex123', auto: true });
    assert.deepStrictEqual([r.status, r.json.state, r.json.mailBox, r.json.isAuto, r.json.isError], [200, '1', 'demo@korvex.test', '1', '1']);
    assert.strictEqual((await api('login', { email: 'demo@korvex.test', password: 'nope' })).status, 401);
    assert.strictEqual((await api('login', { email: 'nobody@korvex.test', password: 'korvex123' })).status, 401);
    assert.strictEqual((await api('login', { email: 'pending@korvex.test', password: 'korvex123' })).json.isError, '-1');

    r = await api('register', { email: 'New@Korvex.test', name: '新用户', password: 'secret1' });
    assert.strictEqual(r.status, 200, r.text);
    assert.strictEqual((await api('register', { email: 'new@korvex.test', password: 'secret1' })).status, 409);
    assert.strictEqual((await api('register', { email: 'bad', password: 'secret1' })).status, 400);
    assert.strictEqual((await api('activate', { email: 'new@korvex.test', code: 'wrong' })).status, 400);
    const code = (await api('hint', { email: 'new@korvex.test' })).json.code;
    r = await api('activate', { email: 'new@korvex.test', code });
    assert.deepStrictEqual([r.json.state, r.json.userName, r.json.mailBox], ['1', '新用户', 'new@korvex.test']);

    assert.strictEqual((await api('changepwd', { email: 'new@korvex.test', password: 'other22' })).status, 403, 'not verified');
    await api('recover', { email: 'new@korvex.test' });
    assert.strictEqual((await api('verifycode', { email: 'new@korvex.test', code: '' })).status, 400);
    const resetCode = (await api('hint', { email: 'new@korvex.test' })).json.resetCode;
    assert.strictEqual((await api('verifycode', { email: 'new@korvex.test', code: resetCode })).status, 200);
    assert.strictEqual((await api('changepwd', { email: 'new@korvex.test', password: 'other22' })).status, 200);
    assert.strictEqual((await api('login', { email: 'new@korvex.test', password: 'other22' })).json.isError, '1');

    assert.strictEqual((await api('collect', { email: 'demo@korvex.test', id: 100101 })).status, 200);
    const fav = JSON.parse(/KORVEX_DATA = (.*);</.exec((await svc.web('GET', '/Expresslive/collect?email=demo@korvex.test')).text)[1]);
    assert.deepStrictEqual(fav.items.map((i) => i.id), [100101]);
    assert.strictEqual((await api('login', '{oops')).status, 400);
    assert.strictEqual((await api('nothing', {})).status, 404);
});

test('starts on busy ports with a clear message, stops on SIGTERM and SIGINT', async (t) => {
    const svc = await startService();
    const busy = spawn(process.execPath, [path.join(__dirname, '..', 'server.js'), `--web-port=${svc.ports.web}`,
        '--news-ports=0,0,0', '--control-port=0', '--no-replay'], { stdio: ['ignore', 'pipe', 'pipe'] });
    let err = '';
    busy.stderr.on('data', (d) => { err += d; });
    const code = await new Promise((resolve) => busy.on('exit', resolve));
    assert.strictEqual(code, 1);
    assert.match(err, /cannot start: .*EADDRINUSE/);
    assert.strictEqual(await svc.stop(), 0, 'SIGTERM ends it cleanly');
    await assert.rejects(request(svc.ports.control, 'GET', '/status'), 'nothing listens after the stop');

    const other = await startService();
    const exited = new Promise((resolve) => other.proc.on('exit', resolve));
    other.proc.kill('SIGINT');
    assert.strictEqual(await exited, 0);

    const wrong = spawn(process.execPath, [path.join(__dirname, '..', 'server.js'), '--web-port=http'], { stdio: 'ignore' });
    assert.strictEqual(await new Promise((resolve) => wrong.on('exit', resolve)), 2, 'bad options');
});
