'use strict';
// Small helpers shared by the web and control servers.

class HttpError extends Error {
    constructor(status, message) {
        super(message);
        this.status = status;
    }
}

const utf8 = new TextDecoder('utf-8', { fatal: true });
const MAX_BODY = 32 * 1024 * 1024;

function readBody(req, limit = MAX_BODY) {
    return new Promise((resolve, reject) => {
        const chunks = [];
        let size = 0;
        let failed = false;
        req.on('data', (chunk) => {
            if (failed) return;
            size += chunk.length;
            if (size > limit) {
                failed = true;
                reject(new HttpError(413, 'body too large'));
                return;
            }
            chunks.push(chunk);
        });
        req.on('end', () => { if (!failed) resolve(Buffer.concat(chunks)); });
        req.on('error', (e) => { if (!failed) { failed = true; reject(e); } });
    });
}

// Body as a JSON object; an empty body is {}.
async function readJson(req, limit) {
    const raw = await readBody(req, limit);
    if (raw.length === 0) return {};
    let text;
    try {
        text = utf8.decode(raw);
    } catch (e) {
        throw new HttpError(400, 'body is not valid UTF-8');
    }
    let value;
    try {
        value = JSON.parse(text);
    } catch (e) {
        throw new HttpError(400, `malformed JSON: ${e.message}`);
    }
    if (value === null || typeof value !== 'object' || Array.isArray(value))
        throw new HttpError(400, 'body must be a JSON object');
    return value;
}

function sendJson(res, status, value) {
    const body = Buffer.from(JSON.stringify(value), 'utf8');
    res.writeHead(status, {
        'Content-Type': 'application/json; charset=utf-8',
        'Content-Length': body.length,
        'Cache-Control': 'no-store',
    });
    res.end(body);
}

function sendText(res, status, type, text, headers = {}) {
    const body = Buffer.isBuffer(text) ? text : Buffer.from(text, 'utf8');
    res.writeHead(status, Object.assign({
        'Content-Type': type,
        'Content-Length': body.length,
        'Cache-Control': 'no-store',
    }, headers));
    res.end(body);
}

function sendError(res, err) {
    const status = err instanceof HttpError ? err.status : 500;
    if (res.headersSent) {
        res.destroy();
        return;
    }
    sendJson(res, status, { error: err.message || String(err) });
}

function parseCookies(header) {
    const out = {};
    if (!header) return out;
    for (const part of String(header).split(';')) {
        const eq = part.indexOf('=');
        if (eq < 0) continue;
        const name = part.slice(0, eq).trim();
        if (name && !(name in out)) out[name] = part.slice(eq + 1).trim();
    }
    return out;
}

module.exports = { HttpError, readBody, readJson, sendJson, sendText, sendError, parseCookies };
