'use strict';
// The web host: service pages, their report endpoint, the account API behind
// the login pages and the update files.
const fs = require('fs');
const path = require('path');
const { HttpError, readJson, sendJson, sendText, sendError, parseCookies } = require('./httputil');
const { EventLog } = require('./events');
const { AccountError } = require('./accounts');
const { UpdateHost } = require('./updatehost');

const STATIC_DIR = path.join(__dirname, '..', 'pages', 'static');
const STATIC_TYPES = { '.css': 'text/css; charset=utf-8', '.js': 'application/javascript; charset=utf-8' };
// "/updates/": the same description under a folder address (no file name in it).
const UPDATE_DESCRIPTIONS = new Set(['/update-win.xml', '/update.xml', '/updates/']);
const INSTALLERS = new Set(['/Korvex-win.exe', '/setup.exe']);

function loadStatic() {
    const files = new Map();
    for (const name of fs.readdirSync(STATIC_DIR)) {
        const type = STATIC_TYPES[path.extname(name)];
        if (type) files.set(`/static/${name}`, { type, body: fs.readFileSync(path.join(STATIC_DIR, name)) });
    }
    return files;
}

class WebHandler {
    constructor(service) {
        this.service = service;
        this.static = loadStatic();
    }

    handle(req, res) {
        this.route(req, res).catch((err) => {
            if (!(err instanceof HttpError) && !(err instanceof AccountError))
                this.service.log(`web: ${req.method} ${req.url}: ${err.stack || err}`);
            sendError(res, err instanceof AccountError ? new HttpError(err.status, err.message) : err);
        });
    }

    async route(req, res) {
        const url = new URL(req.url, 'http://localhost');
        const p = url.pathname;
        const s = this.service;
        const read = req.method === 'GET' || req.method === 'HEAD';

        if (p === '/__report') {
            if (req.method !== 'POST') throw new HttpError(405, 'POST only');
            const body = await readJson(req);
            const list = Array.isArray(body.events) ? body.events : [body];
            for (const e of list) {
                const problem = EventLog.invalid(e);
                if (problem) throw new HttpError(400, problem);
            }
            s.events.add(list);
            sendJson(res, 200, { ok: true, count: list.length });
            return;
        }
        if (p.startsWith('/api/')) {
            if (req.method !== 'POST') throw new HttpError(405, 'POST only');
            sendJson(res, 200, Object.assign({ ok: true }, this.account(p, await readJson(req, 64 * 1024))));
            return;
        }
        if (!read) throw new HttpError(405, 'GET only');

        const page = s.pages.find(p);
        if (page) {
            const cookies = page.cookies ? page.cookies(parseCookies(req.headers.cookie)) : [];
            sendText(res, 200, 'text/html; charset=utf-8', s.pages.render(page, s, url.searchParams),
                cookies.length ? { 'Set-Cookie': cookies } : {});
            return;
        }
        const file = this.static.get(p);
        if (file) {
            sendText(res, 200, file.type, file.body);
            return;
        }
        if (UPDATE_DESCRIPTIONS.has(p) || INSTALLERS.has(p)) {
            this.updateFile(p, req, res);
            return;
        }
        if (p === '/') {
            res.writeHead(302, { Location: '/Expresslive' });
            res.end();
            return;
        }
        throw new HttpError(404, `no such page: ${p}`);
    }

    account(p, body) {
        const a = this.service.accounts;
        switch (p) {
        case '/api/login': return a.login(body.email, body.password, body.auto === true);
        case '/api/register': return a.register(body.email, body.name, body.password);
        case '/api/hint': return a.hint(body.email);
        case '/api/activate': return a.activate(body.email, body.code);
        case '/api/recover': return a.recover(body.email);
        case '/api/verifycode': return a.verifyResetCode(body.email, body.code);
        case '/api/changepwd': return a.changePassword(body.email, body.password);
        case '/api/collect': return a.collect(body.email, body.id);
        default: throw new HttpError(404, `no such call: ${p}`);
        }
    }

    updateFile(p, req, res) {
        const u = this.service.update;
        let gone = false;
        res.on('close', () => { gone = true; });
        const serve = () => { if (!gone) this.serveUpdateFile(p, req, res); };
        const afterDelay = () => {
            if (u.delay > 0) setTimeout(serve, u.delay);
            else serve();
        };
        u.whenReleased(afterDelay);
    }

    serveUpdateFile(p, req, res) {
        const u = this.service.update;
        if (u.missing) {
            u.recordDownload(p, 0, false);
            sendError(res, new HttpError(404, 'no update published'));
            return;
        }
        const isInstaller = INSTALLERS.has(p);
        if (!isInstaller && u.description_ === 'endless') {
            this.serveEndless(p, req, res);
            return;
        }
        const body = isInstaller ? u.installer() : u.description();
        const headers = {
            'Content-Type': isInstaller ? 'application/octet-stream' : 'application/xml; charset=utf-8',
            'Content-Length': body.length,
            'Cache-Control': 'no-store',
        };
        res.writeHead(200, headers);
        if (req.method === 'HEAD') {
            res.end();
            return;
        }
        if (u.truncate >= 0 && u.truncate < body.length) {
            // A network failure halfway: announce everything, deliver a part, cut the line.
            u.recordDownload(p, u.truncate, false);
            res.write(body.subarray(0, u.truncate), () => setTimeout(() => res.destroy(), 20));
            return;
        }
        if (u.stall >= 0 && u.stall < body.length) {
            // A line that goes quiet: part of the file, then nothing, until the client gives up.
            u.recordDownload(p, u.stall, false);
            res.write(body.subarray(0, u.stall));
            return;
        }
        u.recordDownload(p, body.length, true);
        res.end(body);
    }

    // An answer that never ends: chunk after chunk, as fast as the client
    // reads, until it hangs up.
    serveEndless(p, req, res) {
        const u = this.service.update;
        res.writeHead(200, { 'Content-Type': 'application/xml; charset=utf-8', 'Cache-Control': 'no-store' });
        if (req.method === 'HEAD') {
            res.end();
            return;
        }
        let bytes = 0;
        let open = true;
        res.on('close', () => {
            open = false;
            u.recordDownload(p, bytes, false);
        });
        const pump = () => {
            while (open) {
                const chunk = bytes === 0 ? UpdateHost.endlessHead() : UpdateHost.endlessChunk();
                bytes += chunk.length;
                if (!res.write(chunk)) {
                    res.once('drain', pump);
                    return;
                }
            }
        };
        pump();
    }
}

module.exports = { WebHandler };
