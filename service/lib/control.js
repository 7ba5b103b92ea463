'use strict';
// Control API for tests and demos: JSON over HTTP, loopback only.
const { HttpError, readJson, sendJson, sendError } = require('./httputil');
const { CATEGORIES, itemText } = require('./feed');

const MAX_BURST = 100000;
const MAX_RATE = 10000;

function intParam(query, name, min) {
    const text = query.get(name);
    if (text === null || text === '') return 0;
    if (!/^\d+$/.test(text) || Number(text) < min) throw new HttpError(400, `${name} must be an integer >= ${min}`);
    return Number(text);
}

class ControlHandler {
    constructor(service) {
        this.service = service;
    }

    handle(req, res) {
        this.route(req, res).catch((err) => {
            if (!(err instanceof HttpError)) this.service.log(`control: ${req.method} ${req.url}: ${err.stack || err}`);
            sendError(res, err);
        });
    }

    async route(req, res) {
        const url = new URL(req.url, 'http://localhost');
        const key = `${req.method} ${url.pathname}`;
        const s = this.service;
        const body = req.method === 'POST' || req.method === 'PUT' ? await readJson(req) : {};
        const reply = (value) => sendJson(res, 200, Object.assign({ ok: true }, value));

        switch (key) {
        case 'GET /status':
            return reply({ ports: s.ports(), clients: s.news.clientCounts(), history: s.history.length,
                replay: s.replay.running, nextSeq: s.nextSeq });
        case 'POST /push': {
            let text;
            if (typeof body.text === 'string') text = body.text;
            else if (body.item && typeof body.item === 'object' && !Array.isArray(body.item)) text = itemText(body.item);
            else throw new HttpError(400, 'push needs "text" (item text) or "item" (object)');
            if (text.length === 0) throw new HttpError(400, 'empty item text');
            return reply({ clients: s.publish(text) });
        }
        case 'POST /burst': {
            const count = body.count;
            const rate = body.rate;
            if (!Number.isInteger(count) || count < 1 || count > MAX_BURST)
                throw new HttpError(400, `count must be an integer from 1 to ${MAX_BURST}`);
            if (typeof rate !== 'number' || !(rate > 0) || rate > MAX_RATE)
                throw new HttpError(400, `rate must be a number above 0 and at most ${MAX_RATE} (items per second)`);
            const type = body.type === undefined ? 'FBN' : body.type;
            if (!CATEGORIES.includes(type)) throw new HttpError(400, `type must be one of ${CATEGORIES.join(', ')}`);
            const burst = s.startBurst(count, rate, type);
            if (body.wait === true) await burst.finishedPromise;
            return reply({ burst: burst.toJSON() });
        }
        case 'GET /bursts':
            return reply({ bursts: s.bursts.map((b) => b.toJSON()) });
        case 'GET /events': {
            const filter = {
                function: url.searchParams.get('function') || '',
                kind: url.searchParams.get('kind') || '',
                path: url.searchParams.get('path') || '',
                since: intParam(url.searchParams, 'since', 0),
                limit: intParam(url.searchParams, 'limit', 1),
            };
            const events = s.events.query(filter);
            return reply({ events, last: s.events.nextSeq - 1, dropped: s.events.dropped });
        }
        case 'DELETE /events':
            s.events.clear();
            return reply({});
        case 'GET /history':
            return reply({ items: s.historyTexts() });
        case 'GET /update':
            return reply({ update: s.update.toJSON() });
        case 'POST /update':
        case 'PUT /update':
            try {
                s.update.configure(body);
            } catch (e) {
                throw new HttpError(400, e.message);
            }
            return reply({ update: s.update.toJSON() });
        case 'GET /installer-runs':
            return reply({ runs: s.update.runs() });
        case 'POST /notice': {
            const seconds = body.seconds;
            if (!Number.isInteger(seconds) || seconds < 1 || seconds > 86400)
                throw new HttpError(400, 'seconds must be an integer from 1 to 86400');
            for (const k of ['title', 'text']) {
                if (k in body && typeof body[k] !== 'string') throw new HttpError(400, `${k} must be a text`);
            }
            s.notice = { seconds, title: body.title || '系统公告', text: body.text || '', time: s.now() };
            // Clients that are running hear of it at once: an item whose "notice"
            // makes the live page call showPostWindow. Kept out of the history, so
            // a later page load does not announce it again.
            const clients = s.news.publish(itemText({ id: 0, vek_news_type: 'FBN', title: s.notice.title,
                content: s.notice.text, time: s.notice.time, importance: 0, notice: seconds }));
            return reply({ notice: s.notice, clients });
        }
        case 'DELETE /notice':
            s.notice = null;
            return reply({});
        case 'POST /replay': {
            if (typeof body.on !== 'boolean') throw new HttpError(400, 'replay needs "on": true or false');
            if ('interval' in body && (!Number.isInteger(body.interval) || body.interval < 10))
                throw new HttpError(400, 'interval must be an integer >= 10 (ms)');
            if (body.on) s.replay.start(body.interval);
            else s.replay.stop();
            return reply({ replay: s.replay.running });
        }
        case 'GET /accounts':
            return reply({ accounts: s.accounts.toJSON() });
        case 'GET /pages':
            return reply({ pages: s.pageList() });
        case 'POST /reset':
            s.reset();
            return reply({});
        default:
            throw new HttpError(404, `no such control call: ${key}`);
        }
    }
}

module.exports = { ControlHandler };
