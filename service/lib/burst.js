'use strict';
// Sends N sequence-numbered items at a steady rate. Send times follow the
// schedule (start + i / rate), not the previous send, so timer jitter does
// not accumulate; late ticks catch up by sending every item that is due.
const { burstItem, itemText } = require('./feed');

class Burst {
    constructor(id, firstSeq, count, rate, type, publish, onDone) {
        this.id = id;
        this.firstSeq = firstSeq;
        this.count = count;
        this.rate = rate;
        this.type = type;
        this.publish = publish;
        this.onDone = onDone;
        this.sent = 0;
        this.timer = null;
        this.started = 0;
        this.finished = 0;
        this.cancelled = false;
    }

    get lastSeq() { return this.firstSeq + this.count - 1; }
    get done() { return this.sent >= this.count || this.cancelled; }

    start() {
        this.started = Date.now();
        this.tick();
    }

    tick() {
        this.timer = null;
        if (this.done) return;
        const now = Date.now();
        const due = Math.min(this.count, Math.floor(((now - this.started) * this.rate) / 1000) + 1);
        while (this.sent < due) {
            const seq = this.firstSeq + this.sent;
            this.sent += 1;
            this.publish(itemText(burstItem(seq, this.type, Date.now())));
        }
        if (this.sent >= this.count) {
            this.finished = Date.now();
            this.onDone(this);
            return;
        }
        const nextAt = this.started + (this.sent * 1000) / this.rate;
        this.timer = setTimeout(() => this.tick(), Math.max(0, nextAt - Date.now()));
    }

    cancel() {
        if (this.timer) clearTimeout(this.timer);
        this.timer = null;
        if (!this.done) {
            this.cancelled = true;
            this.onDone(this);
        }
    }

    toJSON() {
        return {
            id: this.id, firstSeq: this.firstSeq, lastSeq: this.lastSeq, count: this.count,
            rate: this.rate, type: this.type, sent: this.sent, done: this.done,
            cancelled: this.cancelled, started: this.started, finished: this.finished,
        };
    }
}

module.exports = { Burst };
