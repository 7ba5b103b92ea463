'use strict';
// The sample feed and the item text format: one enclosing character on each
// side of a JSON object (here the brackets of a one-element array).
const fs = require('fs');
const path = require('path');

const CATEGORIES = Object.freeze(['FBN', 'ES', 'ME', 'Forex', 'PM', 'Oil', 'Copper']);
const SERVICE_ZONE_MS = 8 * 3600 * 1000; // the service's clock runs on Beijing time

function loadFeed(file = path.join(__dirname, '..', 'data', 'feed.json')) {
    const items = JSON.parse(fs.readFileSync(file, 'utf8'));
    if (!Array.isArray(items)) throw new Error(`${file}: not a list of items`);
    return items;
}

// "yyyy-MM-dd hh:mm:ss" in the service's zone.
function serviceTime(ms = Date.now()) {
    return new Date(ms + SERVICE_ZONE_MS).toISOString().slice(0, 19).replace('T', ' ');
}

function itemText(item) {
    return `[${JSON.stringify(item)}]`;
}

// Inverse of itemText for texts this service made or was given; null when the
// text does not carry a JSON object.
function parseItemText(text) {
    if (typeof text !== 'string' || text.length < 2) return null;
    try {
        const value = JSON.parse(text.slice(1, -1));
        return value && typeof value === 'object' && !Array.isArray(value) ? value : null;
    } catch (e) {
        return null;
    }
}

function burstItem(seq, type, sent) {
    const kind = CATEGORIES.includes(type) ? type : 'FBN';
    return {
        id: 900000 + seq,
        vek_news_type: kind,
        title: `[快讯]连续推送测试 第${seq}条`,
        content: `序号 ${seq}：用于检查推送顺序与延迟的测试消息。`,
        time: serviceTime(sent),
        importance: 0,
        seq,
        sent,
    };
}

// Cycles through the sample feed, each item stamped with the current time and
// a fresh id (items whose id is 0 keep it: they have no content page).
class Replay {
    constructor(feed, intervalMs, publish) {
        this.feed = feed;
        this.intervalMs = intervalMs;
        this.publish = publish;
        this.next = 0;
        this.nextId = 200000;
        this.timer = null;
    }

    get running() { return this.timer !== null; }

    start(intervalMs) {
        if (intervalMs) this.intervalMs = intervalMs;
        this.stop();
        this.timer = setInterval(() => this.step(), this.intervalMs);
    }

    stop() {
        if (this.timer) clearInterval(this.timer);
        this.timer = null;
    }

    step() {
        if (this.feed.length === 0) return;
        const item = Object.assign({}, this.feed[this.next % this.feed.length]);
        this.next += 1;
        item.time = serviceTime();
        if (item.id !== 0) item.id = this.nextId++;
        this.publish(itemText(item));
    }
}

module.exports = { CATEGORIES, loadFeed, serviceTime, itemText, parseItemText, burstItem, Replay };
