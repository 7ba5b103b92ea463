'use strict';
// Command-line options of the service. Every port may be 0 ("pick a free one").

const DEFAULTS = Object.freeze({
    host: '127.0.0.1',
    webPort: 8080,
    newsPorts: [8021, 8022, 8023],
    controlPort: 8090,
    newsGeneration: 1,
    replay: true,
    replayInterval: 4000,
    history: 30,
    stateDir: '',
    quiet: false,
});

const USAGE = `usage: node server.js [options]
  --web-port=N          web pages and update host (default 8080, 0 = free port)
  --news-ports=A,B,C    socket.io news ports (default 8021,8022,8023, 0 = free port)
  --news-server=1|2     socket.io server generation on the news ports (default 1: 1.7.4)
  --control-port=N      control API on loopback (default 8090, 0 = free port)
  --replay / --no-replay         replay the sample feed (default on)
  --replay-interval=MS  pause between replayed items (default 4000)
  --history=N           sample items the pages show at load (default 30)
  --state-dir=DIR       folder for accounts and installer records (default: new temporary folder)
  --quiet               no request diagnostics`;

function parsePort(text, name) {
    if (!/^\d+$/.test(text)) throw new Error(`${name}: not a port number: ${text}`);
    const n = Number(text);
    if (n > 65535) throw new Error(`${name}: port out of range: ${text}`);
    return n;
}

function parseCount(text, name) {
    if (!/^\d+$/.test(text)) throw new Error(`${name}: not a number: ${text}`);
    return Number(text);
}

function parseArgs(argv) {
    const opts = Object.assign({}, DEFAULTS, { newsPorts: DEFAULTS.newsPorts.slice() });
    const takesValue = new Set(['--web-port', '--news-ports', '--news-server', '--control-port', '--replay-interval',
        '--history', '--state-dir']);
    for (let i = 0; i < argv.length; ++i) {
        let arg = argv[i];
        let value;
        const eq = arg.indexOf('=');
        if (eq > 0) {
            value = arg.slice(eq + 1);
            arg = arg.slice(0, eq);
        } else if (takesValue.has(arg)) {
            if (i + 1 >= argv.length) throw new Error(`${arg}: value missing`);
            value = argv[++i];
        }
        switch (arg) {
        case '--web-port': opts.webPort = parsePort(value, arg); break;
        case '--control-port': opts.controlPort = parsePort(value, arg); break;
        case '--news-ports': {
            const ports = value.split(',').map((p) => parsePort(p.trim(), arg));
            if (ports.length === 0) throw new Error(`${arg}: at least one port`);
            opts.newsPorts = ports;
            break;
        }
        case '--news-server':
            if (value !== '1' && value !== '2') throw new Error(`${arg}: 1 or 2`);
            opts.newsGeneration = Number(value);
            break;
        case '--replay': opts.replay = true; break;
        case '--no-replay': opts.replay = false; break;
        case '--replay-interval': opts.replayInterval = Math.max(10, parseCount(value, arg)); break;
        case '--history': opts.history = parseCount(value, arg); break;
        case '--state-dir': opts.stateDir = value; break;
        case '--quiet': opts.quiet = true; break;
        case '--help': case '-h': opts.help = true; break;
        default: throw new Error(`unknown option: ${argv[i]}`);
        }
    }
    return opts;
}

module.exports = { DEFAULTS, USAGE, parseArgs };
