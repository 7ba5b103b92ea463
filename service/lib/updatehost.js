'use strict';
// The update host: the update description ("Version", "Size") and a harmless
// stand-in installer. The installer is a shell script that appends one record
// per run (time, its own path, working folder, arguments) to a log file of this
// service, so tests can see that it ran and with which switches. It is padded
// with a comment to exactly "Size" bytes.
const fs = require('fs');

const DEFAULT_VERSION = '1.1.000303'; // the client's own version: no update offered

function shellQuote(text) {
    return `'${String(text).replace(/'/g, `'\\''`)}'`;
}

function installerScript(logFile) {
    return [
        '#!/bin/sh',
        '# Korvex stand-in installer: records this run and exits. It installs nothing.',
        `log=${shellQuote(logFile)}`,
        '{',
        '    printf \'RUN\\000%s\\000%s\\000%s\\000%s\\000\' "$(date +%s%3N)" "$0" "$(pwd)" "$#"',
        '    for a in "$@"; do printf \'%s\\000\' "$a"; done',
        '    printf \'END\\000\'',
        '} >>"$log"',
        'exit 0',
        '',
    ].join('\n');
}

function xmlEscape(text) {
    return String(text).replace(/[<>&"']/g, (c) => ({
        '<': '&lt;', '>': '&gt;', '&': '&amp;', '"': '&quot;', "'": '&apos;',
    })[c]);
}

class UpdateHost {
    constructor(runLog) {
        this.runLog = runLog;
        this.script = Buffer.from(installerScript(runLog), 'utf8');
        this.reset();
    }

    reset() {
        this.version = DEFAULT_VERSION;
        this.size = this.script.length;
        this.truncate = -1; // bytes after which the download breaks off; -1: never
        this.missing = false; // answer 404 for every update file
        this.downloads = [];
        try { fs.unlinkSync(this.runLog); } catch (e) { /* none yet */ }
    }

    get minimumSize() { return this.script.length; }

    // Applies a settings object from the control API; throws on bad values.
    configure(body) {
        const next = { version: this.version, size: this.size, truncate: this.truncate, missing: this.missing };
        if ('version' in body) {
            if (typeof body.version !== 'string' || body.version.length > 200 || /[\u0000-\u001f]/.test(body.version))
                throw new Error('version must be a short text');
            next.version = body.version;
        }
        if ('size' in body) {
            if (!Number.isInteger(body.size) || body.size < 0 || body.size > 64 * 1024 * 1024)
                throw new Error('size must be an integer from 0 to 67108864');
            next.size = body.size;
        }
        if ('truncate' in body) {
            if (!Number.isInteger(body.truncate) || body.truncate < -1)
                throw new Error('truncate must be an integer >= -1');
            next.truncate = body.truncate;
        }
        if ('missing' in body) {
            if (typeof body.missing !== 'boolean') throw new Error('missing must be true or false');
            next.missing = body.missing;
        }
        Object.assign(this, next);
    }

    description() {
        return '<?xml version="1.0" encoding="UTF-8"?>\n<update>\n' +
            `    <Version>${xmlEscape(this.version)}</Version>\n` +
            `    <Size>${this.size}</Size>\n</update>\n`;
    }

    // The script padded to "Size"; when "Size" is below the script's own
    // length the script is served whole, so its size then differs from "Size".
    installer() {
        if (this.size <= this.script.length) return this.script;
        const pad = Buffer.alloc(this.size - this.script.length, 0x23); // '#'
        pad[pad.length - 1] = 0x0a;
        return Buffer.concat([this.script, pad]);
    }

    recordDownload(path, bytes, complete) {
        this.downloads.push({ path, bytes, complete, time: Date.now() });
        if (this.downloads.length > 1000) this.downloads.shift();
    }

    runs() {
        let raw;
        try {
            raw = fs.readFileSync(this.runLog);
        } catch (e) {
            return [];
        }
        const fields = raw.toString('utf8').split('\u0000');
        const runs = [];
        for (let i = 0; i < fields.length; ++i) {
            if (fields[i] !== 'RUN' || i + 4 >= fields.length) continue;
            const argc = Number(fields[i + 4]);
            const args = fields.slice(i + 5, i + 5 + argc);
            if (fields[i + 5 + argc] !== 'END') continue; // a record still being written
            runs.push({ time: Number(fields[i + 1]), file: fields[i + 2], cwd: fields[i + 3], args });
            i += 5 + argc;
        }
        return runs;
    }

    toJSON() {
        return {
            version: this.version, size: this.size, truncate: this.truncate, missing: this.missing,
            scriptSize: this.script.length, installerSize: this.installer().length,
            downloads: this.downloads, runs: this.runs(),
        };
    }
}

module.exports = { UpdateHost, DEFAULT_VERSION, installerScript };
