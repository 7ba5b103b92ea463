#!/usr/bin/env node
'use strict';
// Local stand-in for the Korvex news service, its web pages and the update host.
// Prints one line "korvex-service ready {...ports...}" once everything listens.
const { USAGE, parseArgs } = require('./lib/options');
const { Service } = require('./lib/service');

async function main() {
    let opts;
    try {
        opts = parseArgs(process.argv.slice(2));
    } catch (e) {
        process.stderr.write(`korvex-service: ${e.message}\n${USAGE}\n`);
        process.exit(2);
    }
    if (opts.help) {
        process.stdout.write(`${USAGE}\n`);
        return;
    }
    const service = new Service(opts);
    // Signals are handled before the ready line: whoever reads it may stop us at once.
    let stopping = false;
    const stop = (signal) => {
        if (stopping) return;
        stopping = true;
        service.log(`${signal}: stopping`);
        // Whatever hangs, do not outlive the signal by much.
        setTimeout(() => process.exit(0), 3000).unref();
        service.stop().then(() => process.exit(0), () => process.exit(1));
    };
    process.on('SIGTERM', () => stop('SIGTERM'));
    process.on('SIGINT', () => stop('SIGINT'));
    // The fixture that started us may vanish without a signal: stdin closing tells.
    if (process.env.KORVEX_SERVICE_STDIN_WATCH === '1') {
        process.stdin.on('end', () => stop('stdin closed'));
        process.stdin.resume();
    }
    try {
        await service.start();
    } catch (e) {
        process.stderr.write(`korvex-service: cannot start: ${e.message}\n`);
        await service.stop().catch(() => {});
        process.exit(1);
    }
    process.stdout.write(`korvex-service ready ${JSON.stringify(service.ports())}\n`);
}

main();
