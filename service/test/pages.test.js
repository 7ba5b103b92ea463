'use strict';
// Every page path answers, defines the functions the programs call in it and
// carries its start data safely; cookies the client keeps are set.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const path = require('path');
const { startService } = require('./helpers');

// The contract as the programs see it, written out independently of the service's table.
const CONTRACT = {
    '/Expresslive': ['OutputMsg', 'showType', 'guanggaoshow', 'guanggaohide', 'statistical', 'get_news_data', 'login'],
    '/Ecrilicalendar': ['outputMsg'],
    '/index/gg': [], '/hangqing': [], '/Industry': [], '/Article': [], '/Index': [],
    '/Expresslive/collect': [], '/encnzzwin': [], '/minipage/pagetext': [], '/tanchuang.htm': [],
    '/minipage': ['Obtain', 'showType', 'shenyin'],
    '/wicket': ['iojieshou', 'delNews'],
    '/login/login': [], '/register/register': [],
    '/register/regactive': ['getemial'],
    '/retrievepassword/emailfindcode01': [],
    '/retrievepassword/emailfindcode02': ['getdatap'],
    '/retrievepassword/emailfindcode03': ['getdatapwd'],
};

function startData(html) {
    const m = /<script>window\.KORVEX_DATA = (.*);<\/script>/.exec(html);
    assert.ok(m, 'page carries its start data');
    return JSON.parse(m[1]);
}

test('every page answers and defines its functions', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    const listed = (await svc.control('GET', '/pages')).json.pages;
    assert.deepStrictEqual(listed.map((p) => p.path).sort(), Object.keys(CONTRACT).sort());
    const shared = (await svc.web('GET', '/static/korvex.js')).text;
    for (const [p, functions] of Object.entries(CONTRACT)) {
        const r = await svc.web('GET', `${p}?id=100100&email=demo%40korvex.test`);
        assert.strictEqual(r.status, 200, p);
        assert.match(r.headers['content-type'], /^text\/html; charset=utf-8/);
        assert.match(r.text, /<script src="\/static\/korvex\.js"><\/script>/, p);
        const defined = [...r.text.matchAll(/K\.expose\('([A-Za-z_]+)'/g)].map((m) => m[1]);
        assert.deepStrictEqual(defined.sort(), functions.slice().sort(), `${p} defines exactly its functions`);
        assert.deepStrictEqual(listed.find((e) => e.path === p).functions.slice().sort(), functions.slice().sort());
        startData(r.text);
    }
    // page scripts stay within what the client's old engine runs
    const scripts = [shared].concat(fs.readdirSync(path.join(__dirname, '..', 'pages'))
        .filter((f) => f.endsWith('.html')).map((f) => fs.readFileSync(path.join(__dirname, '..', 'pages', f), 'utf8')));
    for (const s of scripts) {
        assert.doesNotMatch(s, /=>|\blet\s|\bconst\s|`|\bfetch\(|\bclass\s+[A-Z]/, 'ES5 only');
        assert.doesNotMatch(s, /innerHTML|insertAdjacentHTML|document\.write/, 'item text never becomes markup');
    }
    assert.strictEqual((await svc.web('GET', '/static/korvex.css')).status, 200);
    assert.strictEqual((await svc.web('GET', '/no/such/page')).status, 404);
    assert.strictEqual((await svc.web('GET', '/static/../lib/service.js')).status, 404);
});

test('start data survives hostile item texts and shows pushed items', async (t) => {
    const svc = await startService(['--history=5']);
    t.after(() => svc.stop());
    let data = startData((await svc.web('GET', '/Expresslive')).text);
    assert.strictEqual(data.history.length, 5, 'sample history');

    const hostile = `[{"id":77,"vek_news_type":"FBN","title":"</script><script>alert(1)</script> \u2028 '&amp;","time":"2026-12-07 10:00:00"}]`;
    await svc.control('POST', '/push', { text: hostile });
    await svc.control('POST', '/push', { item: { id: 78, vek_news_type: 'ES', title: 'x', star: 5, time: '2026-12-07 10:00:01' } });
    const html = (await svc.web('GET', '/Expresslive')).text;
    assert.ok(!html.includes('</script><script>alert'), 'no script element can be closed by an item');
    data = startData(html);
    assert.strictEqual(data.history[5], hostile, 'the exact text reaches the page');
    const calendar = startData((await svc.web('GET', '/Ecrilicalendar')).text);
    const releases = calendar.history.map((t) => JSON.parse(t.slice(1, -1)));
    assert.ok(releases.every((i) => i.vek_news_type === 'ES'), 'calendar: ES only');
    assert.strictEqual(releases.length, 15 + 1, 'the day\'s sample releases and the pushed one');
    assert.strictEqual(releases[releases.length - 1].id, 78, 'oldest first: the page puts each new one on top');
    const content = startData((await svc.web('GET', '/minipage/pagetext?id=77&email=a%40b.c')).text);
    assert.strictEqual(content.item.id, 77);
    assert.strictEqual(content.email, 'a@b.c');
    assert.strictEqual(startData((await svc.web('GET', '/minipage/pagetext?id=0')).text).item, null, 'id 0 has no page');
    assert.strictEqual(startData((await svc.web('GET', '/minipage/pagetext?id=abc')).text).item, null);
});

test('pages set the cookies the client keeps', async (t) => {
    const svc = await startService();
    t.after(() => svc.stop());
    let r = await svc.web('GET', '/Article');
    assert.deepStrictEqual(r.headers['set-cookie'].map((c) => c.split(';')[0]), ['dyue=1']);
    r = await svc.web('GET', '/Article', undefined, { Cookie: 'setLanguage=-8; dyue=4' });
    assert.deepStrictEqual(r.headers['set-cookie'].map((c) => c.split(';')[0]), ['dyue=5'], 'a returning reader is counted');
    r = await svc.web('GET', '/index/gg');
    assert.match(r.headers['set-cookie'][0], /^kvx_site=\w+; Path=\//);
    r = await svc.web('GET', '/index/gg', undefined, { Cookie: 'kvx_site=abc' });
    assert.strictEqual(r.headers['set-cookie'], undefined, 'a known visitor keeps its id');
    r = await svc.web('GET', '/encnzzwin');
    assert.deepStrictEqual(r.headers['set-cookie'].map((c) => c.split('=')[0]), ['kvx_visit', 'kvx_visitor']);
});
