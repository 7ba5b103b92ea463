'use strict';
// Ties the parts together: news ports, web host, control API and the state
// they share.
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const { Accounts } = require('./accounts');
const { Burst } = require('./burst');
const { ControlHandler } = require('./control');
const { EventLog } = require('./events');
const { loadFeed, serviceTime, itemText, parseItemText, Replay } = require('./feed');
const { NewsServers } = require('./news');
const { PAGES, PageRenderer } = require('./pages');
const { UpdateHost } = require('./updatehost');
const { WebHandler } = require('./web');

const HISTORY_LIMIT = 500;

function listen(server, port, host) {
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, host, () => {
            server.removeListener('error', reject);
            resolve(server.address().port);
        });
    });
}

class Service {
    constructor(opts) {
        this.opts = opts;
        this.quiet = opts.quiet;
        this.ownStateDir = !opts.stateDir;
        this.stateDir = opts.stateDir || fs.mkdtempSync(path.join(os.tmpdir(), 'korvex-service-'));
        fs.mkdirSync(this.stateDir, { recursive: true });
        this.feed = loadFeed();
        this.pages = new PageRenderer();
        this.events = new EventLog();
        this.accounts = new Accounts(path.join(this.stateDir, 'accounts.json'));
        this.update = new UpdateHost(path.join(this.stateDir, 'installer-runs.log'));
        this.news = new NewsServers(opts.host, opts.newsPorts, (m) => this.log(m), opts.newsGeneration);
        this.replay = new Replay(this.feed, opts.replayInterval, (text) => this.publish(text));
        this.bursts = [];
        this.servers = [];
        this.resetState();
    }

    log(message) {
        if (!this.quiet) process.stderr.write(`korvex-service: ${message}\n`);
    }

    now() { return serviceTime(); }

    resetState() {
        for (const b of this.bursts || []) b.cancel();
        this.bursts = [];
        this.nextSeq = 1;
        this.notice = null;
        this.events.clear();
        this.update.reset();
        this.history = this.seedHistory(this.opts.history);
    }

    reset() {
        this.resetState();
        this.accounts.reset();
    }

    // The newest n sample items, restamped to the last hour or so.
    seedHistory(n) {
        const items = n > 0 ? this.feed.slice(-Math.min(n, this.feed.length)) : [];
        const now = Date.now();
        return items.map((item, i) => itemText(Object.assign({}, item,
            { time: serviceTime(now - (items.length - i) * 150000) })));
    }

    async start() {
        await this.news.start();
        const web = http.createServer((req, res) => this.webHandler.handle(req, res));
        const control = http.createServer((req, res) => this.controlHandler.handle(req, res));
        this.webHandler = new WebHandler(this);
        this.controlHandler = new ControlHandler(this);
        this.servers = [web, control];
        this.webPort = await listen(web, this.opts.webPort, this.opts.host);
        this.controlPort = await listen(control, this.opts.controlPort, '127.0.0.1');
        if (this.opts.replay) this.replay.start();
    }

    ports() {
        return { web: this.webPort, news: this.news.ports.slice(), control: this.controlPort };
    }

    async stop() {
        this.replay.stop();
        for (const b of this.bursts) b.cancel();
        await this.news.stop();
        await Promise.all(this.servers.map((s) => new Promise((resolve) => {
            s.close(() => resolve());
            if (s.closeAllConnections) s.closeAllConnections();
        })));
        this.servers = [];
        if (this.ownStateDir) fs.rmSync(this.stateDir, { recursive: true, force: true });
    }

    publish(text) {
        this.history.push(text);
        if (this.history.length > HISTORY_LIMIT) this.history.splice(0, this.history.length - HISTORY_LIMIT);
        return this.news.publish(text);
    }

    startBurst(count, rate, type) {
        let finish;
        const burst = new Burst(this.bursts.length + 1, this.nextSeq, count, rate, type,
            (text) => this.publish(text), () => finish());
        burst.finishedPromise = new Promise((resolve) => { finish = resolve; });
        this.nextSeq += count;
        this.bursts.push(burst);
        burst.start();
        return burst;
    }

    historyTexts() { return this.history.slice(); }

    // The day's calendar: with sample history on, every sample release of
    // today (service clock), then the releases pushed since; oldest first.
    calendarTexts() {
        const pushed = this.parsedHistory().filter((e) => e.item.vek_news_type === 'ES');
        const seen = new Set(pushed.map((e) => Number(e.item.id)).filter((id) => id > 0));
        const today = serviceTime().slice(0, 10);
        const seeded = this.opts.history > 0
            ? this.feed.filter((i) => i.vek_news_type === 'ES' && !seen.has(i.id))
                .map((i) => Object.assign({}, i, { time: today + i.time.slice(10) }))
                .sort((a, b) => a.time.localeCompare(b.time))
                .map(itemText)
            : [];
        return seeded.concat(pushed.map((e) => e.text));
    }

    parsedHistory() {
        const out = [];
        for (const text of this.history) {
            const item = parseItemText(text);
            if (item) out.push({ text, item });
        }
        return out;
    }

    itemById(idText) {
        if (!/^\d+$/.test(String(idText || ''))) return null;
        const id = Number(idText);
        if (id === 0) return null;
        const fromHistory = this.parsedHistory().reverse().find((e) => Number(e.item.id) === id);
        return fromHistory ? fromHistory.item : this.feed.find((i) => i.id === id) || null;
    }

    headlines() {
        return this.parsedHistory().reverse()
            .filter((e) => e.item.vek_news_type === 'FBN' || Number(e.item.importance) === 1)
            .slice(0, 20);
    }

    featured() {
        const top = this.headlines().find((e) => Number(e.item.id) > 0);
        return top ? { id: Number(top.item.id), title: top.item.title } : null;
    }

    favouriteItems(email) {
        const ids = email ? this.accounts.favourites(email) : null;
        if (!ids) return null;
        return ids.map((id) => this.itemById(String(id))).filter(Boolean);
    }

    pageList() {
        return PAGES.map((p) => ({ path: p.path, bridge: p.bridge, functions: p.functions.slice() }));
    }
}

module.exports = { Service };
