'use strict';
// The update host: the update description ("Version", "Size", "Sha256",
// "Signature") and a harmless stand-in installer. The signature is the
// publisher's Ed25519 signature, made here with the test key, over
// "korvex-update-v1" NUL version NUL SHA-256 of the installer (32 raw bytes). The installer is a shell script that appends one record
// per run (time, its own path, working folder, arguments) to a log file of this
// service, so tests can see that it ran and with which switches. It is padded
// with a comment to exactly "Size" bytes.
const crypto = require('crypto');
const fs = require('fs');
const { privateKey: TEST_KEY } = require('./updatetestkey');

const DEFAULT_VERSION = '1.1.000303'; // the client's own version: no update offered
// Broken descriptions the host can serve instead of the real one.
const DESCRIPTION_KINDS = ['normal', 'not-xml', 'huge', 'bomb', 'endless'];
const HUGE_DESCRIPTION_BYTES = 50 * 1024 * 1024;
// What an update signature covers, as the client checks it.
const SIGNATURE_CONTEXT = 'korvex-update-v1';

function signedMessage(version, sha256) {
    return Buffer.concat([Buffer.from(`${SIGNATURE_CONTEXT}\0${version}\0`, 'utf8'), sha256]);
}

function signUpdate(version, installer, key = TEST_KEY) {
    const sha256 = crypto.createHash('sha256').update(installer).digest();
    return crypto.sign(null, signedMessage(version, sha256), key).toString('hex');
}

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
        this.sha256 = 'auto'; // "auto": the installer's real hash; null: no element; else the text served
        this.sizeText = null; // served as "Size" instead of the number when set
        this.signature = 'auto'; // "auto": signed with the test key; null: no element; else the text served
        this.signedVersion = null; // the version "auto" signs for; null: the one served
        this.installerKind = 'script'; // "unrunnable": an executable's magic over padding, which no system starts
        this.description_ = 'normal';
        this.stall = -1; // bytes after which the download stops without closing; -1: never
        this.delay = 0; // ms before any update file is answered
        this.hold = false; // answer no update file until hold is switched off again
        this.release();
        this.downloads = [];
        try { fs.unlinkSync(this.runLog); } catch (e) { /* none yet */ }
    }

    get minimumSize() { return this.script.length; }

    // Applies a settings object from the control API; throws on bad values.
    configure(body) {
        const next = {
            version: this.version, size: this.size, truncate: this.truncate, missing: this.missing,
            sha256: this.sha256, sizeText: this.sizeText, description_: this.description_,
            stall: this.stall, delay: this.delay, hold: this.hold,
            signature: this.signature, signedVersion: this.signedVersion, installerKind: this.installerKind,
        };
        const shortText = (value) => typeof value === 'string' && value.length <= 200 && !/[\u0000-\u001f]/.test(value);
        if ('version' in body) {
            // null leaves the element out
            if (body.version !== null && !shortText(body.version)) throw new Error('version must be a short text or null');
            next.version = body.version;
        }
        if ('sha256' in body) {
            if (body.sha256 !== null && !shortText(body.sha256)) throw new Error('sha256 must be "auto", a short text or null');
            next.sha256 = body.sha256;
        }
        if ('signature' in body) {
            if (body.signature !== null && !shortText(body.signature)) throw new Error('signature must be "auto", a short text or null');
            next.signature = body.signature;
        }
        if ('signedVersion' in body) {
            if (body.signedVersion !== null && !shortText(body.signedVersion)) throw new Error('signedVersion must be a short text or null');
            next.signedVersion = body.signedVersion;
        }
        if ('installer' in body) {
            if (!['script', 'unrunnable'].includes(body.installer)) throw new Error('installer must be "script" or "unrunnable"');
            next.installerKind = body.installer;
        }
        if ('sizeText' in body) {
            if (body.sizeText !== null && !shortText(body.sizeText)) throw new Error('sizeText must be a short text or null');
            next.sizeText = body.sizeText;
        }
        if ('description' in body) {
            if (!DESCRIPTION_KINDS.includes(body.description))
                throw new Error(`description must be one of ${DESCRIPTION_KINDS.join(', ')}`);
            next.description_ = body.description;
        }
        if ('stall' in body) {
            if (!Number.isInteger(body.stall) || body.stall < -1) throw new Error('stall must be an integer >= -1');
            next.stall = body.stall;
        }
        if ('delay' in body) {
            if (!Number.isInteger(body.delay) || body.delay < 0 || body.delay > 600000)
                throw new Error('delay must be an integer from 0 to 600000 (ms)');
            next.delay = body.delay;
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
        if ('hold' in body) {
            if (typeof body.hold !== 'boolean') throw new Error('hold must be true or false');
            next.hold = body.hold;
        }
        Object.assign(this, next);
        if (!this.hold) this.release();
    }

    // Runs `answer` now, or when the hold ends.
    whenReleased(answer) {
        if (!this.hold) {
            answer();
            return;
        }
        this.held = this.held || [];
        this.held.push(answer);
    }

    release() {
        const held = this.held || [];
        this.held = [];
        for (const answer of held) answer();
    }

    sha256Text() {
        if (this.sha256 !== 'auto') return this.sha256;
        return crypto.createHash('sha256').update(this.installer()).digest('hex');
    }

    signatureText() {
        if (this.signature !== 'auto') return this.signature;
        const version = this.signedVersion !== null ? this.signedVersion : (this.version || '');
        return signUpdate(version, this.installer());
    }

    // The description as one buffer; null for "endless" (see endlessChunk).
    description() {
        switch (this.description_) {
        case 'endless':
            return null;
        case 'not-xml':
            return Buffer.from('Version: 9.9.9\nthis is not XML <update\n', 'utf8');
        case 'huge': {
            // well-formed, with the newer version at the very end
            const head = Buffer.from('<?xml version="1.0"?>\n<update><!--', 'utf8');
            const tail = Buffer.from('--><Version>9.9.9</Version></update>\n', 'utf8');
            const pad = Buffer.alloc(HUGE_DESCRIPTION_BYTES - head.length - tail.length, 0x61);
            return Buffer.concat([head, pad, tail]);
        }
        case 'bomb': {
            // nested entities: ten levels of ten references each
            const lines = ['<?xml version="1.0"?>', '<!DOCTYPE update [', '<!ENTITY e0 "9.9.9">'];
            for (let i = 1; i <= 10; ++i) lines.push(`<!ENTITY e${i} "${`&e${i - 1};`.repeat(10)}">`);
            lines.push(']>', '<update><Version>&e10;</Version></update>', '');
            return Buffer.from(lines.join('\n'), 'utf8');
        }
        default: {
            let xml = '<?xml version="1.0" encoding="UTF-8"?>\n<update>\n';
            if (this.version !== null) xml += `    <Version>${xmlEscape(this.version)}</Version>\n`;
            xml += `    <Size>${xmlEscape(this.sizeText === null ? this.size : this.sizeText)}</Size>\n`;
            if (this.sha256 !== null) xml += `    <Sha256>${xmlEscape(this.sha256Text())}</Sha256>\n`;
            if (this.signature !== null) xml += `    <Signature>${xmlEscape(this.signatureText())}</Signature>\n`;
            return Buffer.from(xml + '</update>\n', 'utf8');
        }
        }
    }

    // "endless": a well-formed start, then comment text for as long as the
    // client keeps reading.
    static endlessHead() {
        return Buffer.from('<?xml version="1.0"?>\n<update><Version>9.9.9</Version><!--', 'utf8');
    }

    static endlessChunk() {
        return Buffer.alloc(64 * 1024, 0x61);
    }

    // The script padded to "Size"; when "Size" is below the script's own
    // length the script is served whole, so its size then differs from "Size".
    installer() {
        if (this.installerKind === 'unrunnable') {
            const head = Buffer.from('\x7fELF', 'latin1');
            return Buffer.concat([head, Buffer.alloc(Math.max(this.size - head.length, 0), 0)]);
        }
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
            sha256: this.sha256, sha256Text: this.sha256Text(), sizeText: this.sizeText,
            signature: this.signature, signedVersion: this.signedVersion, installer: this.installerKind,
            description: this.description_, stall: this.stall, delay: this.delay, hold: this.hold,
            held: (this.held || []).length, scriptSize: this.script.length, installerSize: this.installer().length,
            downloads: this.downloads, runs: this.runs(),
        };
    }
}

module.exports = { UpdateHost, DEFAULT_VERSION, installerScript, signedMessage, signUpdate };
