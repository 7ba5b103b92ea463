'use strict';
// Starts the real service as a child process on free ports and talks to it.
const { spawn } = require('child_process');
const http = require('http');
const path = require('path');

const SERVER = path.join(__dirname, '..', 'server.js');
const ROOT = path.join(__dirname, '..', '..');

function startService(extraArgs = []) {
    const args = [SERVER, '--web-port=0', '--news-ports=0,0,0', '--control-port=0', '--no-replay', '--history=0', '--quiet']
        .concat(extraArgs);
    const proc = spawn(process.execPath, args, { stdio: ['ignore', 'pipe', 'pipe'] });
    let stderr = '';
    proc.stderr.on('data', (d) => { stderr += d; });
    return new Promise((resolve, reject) => {
        let out = '';
        const timer = setTimeout(() => { proc.kill('SIGKILL'); reject(new Error(`no ready line; stderr: ${stderr}`)); }, 10000);
        proc.on('exit', (code) => { clearTimeout(timer); reject(new Error(`service exited ${code}: ${stderr}`)); });
        proc.stdout.on('data', (d) => {
            out += d;
            const m = /^korvex-service ready (\{.*\})$/m.exec(out);
            if (!m) return;
            clearTimeout(timer);
            proc.removeAllListeners('exit');
            const ports = JSON.parse(m[1]);
            resolve({
                proc,
                ports,
                stderr: () => stderr,
                control: (method, p, body) => request(ports.control, method, p, body),
                web: (method, p, body, headers) => request(ports.web, method, p, body, headers),
                stop: () => stopProcess(proc),
            });
        });
    });
}

function stopProcess(proc) {
    if (proc.exitCode !== null || proc.signalCode !== null) return Promise.resolve(proc.exitCode);
    return new Promise((resolve) => {
        const kill = setTimeout(() => proc.kill('SIGKILL'), 5000);
        proc.once('exit', (code) => { clearTimeout(kill); resolve(code); });
        proc.kill('SIGTERM');
    });
}

// body: object (sent as JSON), Buffer or string (sent as is).
function request(port, method, p, body, headers = {}) {
    return new Promise((resolve, reject) => {
        let payload = null;
        if (Buffer.isBuffer(body) || typeof body === 'string') payload = Buffer.from(body);
        else if (body !== undefined) payload = Buffer.from(JSON.stringify(body));
        const req = http.request({ host: '127.0.0.1', port, method, path: p, headers: Object.assign(
            payload ? { 'Content-Type': 'application/json', 'Content-Length': payload.length } : {}, headers) }, (res) => {
            const chunks = [];
            res.on('data', (c) => chunks.push(c));
            res.on('end', () => {
                const raw = Buffer.concat(chunks);
                const text = raw.toString('utf8');
                let json = null;
                try { json = JSON.parse(text); } catch (e) { json = null; }
                resolve({ status: res.statusCode, headers: res.headers, raw, text, json });
            });
            res.on('error', reject);
        });
        req.on('error', reject);
        req.setTimeout(10000, () => req.destroy(new Error(`timeout: ${method} ${p}`)));
        req.end(payload);
    });
}

// Polls until check() returns a truthy value (bounded).
async function waitFor(check, timeoutMs = 5000, what = 'condition') {
    const end = Date.now() + timeoutMs;
    for (;;) {
        const value = await check();
        if (value) return value;
        if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
        await new Promise((r) => setTimeout(r, 25));
    }
}

module.exports = { startService, request, waitFor, ROOT };
