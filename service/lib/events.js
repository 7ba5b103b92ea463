'use strict';
// What the pages reported: every call a page received ("call"), every call it
// made into the program's objects ("bridge"), page loads ("load") and script
// errors ("error"). Bounded: the oldest events go first.

const KINDS = new Set(['call', 'bridge', 'load', 'error']);
const MAX_EVENTS = 50000;

class EventLog {
    constructor(limit = MAX_EVENTS) {
        this.limit = limit;
        this.clear();
    }

    clear() {
        this.events = [];
        this.nextSeq = 1;
        this.dropped = 0;
    }

    // Validates one reported event; returns an error text or null.
    static invalid(e) {
        if (!e || typeof e !== 'object' || Array.isArray(e)) return 'event must be an object';
        if (typeof e.function !== 'string' || e.function.length === 0 || e.function.length > 200)
            return 'event.function must be a non-empty text';
        if ('kind' in e && !KINDS.has(e.kind)) return 'event.kind must be call, bridge, load or error';
        if ('args' in e && !Array.isArray(e.args)) return 'event.args must be a list';
        if ('time' in e && !Number.isFinite(e.time)) return 'event.time must be a number (ms since epoch)';
        if ('path' in e && typeof e.path !== 'string') return 'event.path must be a text';
        return null;
    }

    add(list) {
        const received = Date.now();
        for (const e of list) {
            this.events.push({
                seq: this.nextSeq++,
                kind: e.kind || 'call',
                function: e.function,
                args: e.args || [],
                time: Number.isFinite(e.time) ? e.time : received,
                path: e.path || '',
                received,
            });
        }
        if (this.events.length > this.limit) {
            const excess = this.events.length - this.limit;
            this.events.splice(0, excess);
            this.dropped += excess;
        }
    }

    // Filter: function, kind, path (exact), since (seq, exclusive), limit.
    query(filter = {}) {
        let out = this.events;
        if (filter.since) out = out.filter((e) => e.seq > filter.since);
        if (filter.function) out = out.filter((e) => e.function === filter.function);
        if (filter.kind) out = out.filter((e) => e.kind === filter.kind);
        if (filter.path) out = out.filter((e) => e.path === filter.path);
        if (filter.limit) out = out.slice(-filter.limit);
        return out;
    }
}

module.exports = { EventLog, KINDS };
