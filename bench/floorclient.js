'use strict';
// The floor of the push latency: a plain socket.io client of the listener's
// generation (1.7.4, from the root node_modules) on the same news server.
// Prints "connected", then "SEQ SENT RECEIVED" for every numbered item.
//   node bench/floorclient.js http://127.0.0.1:PORT
const io = require('socket.io-client');

const socket = io(process.argv[2], { transports: ['websocket', 'polling'], forceNew: true });
socket.on('connect', () => console.log('connected'));
socket.on('pushToWebClient', (text) => {
    const received = Date.now();
    let item;
    try {
        item = JSON.parse(text)[0];
    } catch (e) {
        return;
    }
    if (item && item.seq) console.log(`${item.seq} ${item.sent} ${received}`);
});
process.stdin.on('end', () => process.exit(0));
process.stdin.resume();
