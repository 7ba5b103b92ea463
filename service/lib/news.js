'use strict';
// The news feed: the same socket.io server on every news port. Generation 1
// (1.7.4, protocol 4 over engine.io 3) is the one of the client the listener
// compiles in; generation 2 is there to test the client against a newer
// server (its long-polling does not work with that client).
const http = require('http');

const SERVERS = { 1: 'socket.io', 2: 'socket.io-2' };

const EVENT = 'pushToWebClient';

class NewsServers {
    constructor(host, ports, log, generation = 1) {
        this.socketio = require(SERVERS[generation]);
        this.host = host;
        this.requested = ports.slice();
        this.log = log;
        this.servers = [];
        this.ios = [];
        this.ports = [];
    }

    async start() {
        for (const port of this.requested) {
            const server = http.createServer((req, res) => {
                // socket.io answers its own path; anything else is not ours.
                if (!res.headersSent && !req.url.startsWith('/socket.io/')) {
                    res.writeHead(404, { 'Content-Type': 'text/plain' });
                    res.end('not found\n');
                }
            });
            await new Promise((resolve, reject) => {
                server.once('error', reject);
                server.listen(port, this.host, () => {
                    server.removeListener('error', reject);
                    resolve();
                });
            });
            const io = this.socketio(server, { serveClient: false, pingInterval: 25000, pingTimeout: 60000 });
            io.on('connection', (socket) => {
                this.log(`news: client connected on ${server.address().port} (${socket.conn.transport.name})`);
            });
            this.servers.push(server);
            this.ios.push(io);
            this.ports.push(server.address().port);
        }
    }

    // Clients connected on each port, in port order.
    clientCounts() {
        return this.ios.map((io) => Object.keys(io.sockets.connected).length);
    }

    // One item text to every client on every port; returns how many got it.
    publish(text) {
        let count = 0;
        for (const io of this.ios) {
            count += Object.keys(io.sockets.connected).length;
            io.emit(EVENT, text);
        }
        return count;
    }

    async stop() {
        for (const io of this.ios) {
            for (const socket of Object.values(io.sockets.connected)) socket.disconnect(true);
            io.engine.close();
        }
        await Promise.all(this.servers.map((s) => new Promise((resolve) => {
            s.close(() => resolve());
            if (s.closeAllConnections) s.closeAllConnections();
        })));
        this.servers = [];
        this.ios = [];
    }
}

module.exports = { NewsServers, EVENT };
