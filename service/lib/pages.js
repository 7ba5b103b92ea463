'use strict';
// The service's web pages: path, fragment file, the global functions the
// programs call in it, the object the showing window places into it, and the
// data the page starts with.
const fs = require('fs');
const path = require('path');

const PAGE_DIR = path.join(__dirname, '..', 'pages');

const PAGES = [
    { path: '/Expresslive', file: 'expresslive.html', title: '全球直播', bridge: 'Qtconnectjs',
        functions: ['OutputMsg', 'showType', 'guanggaoshow', 'guanggaohide', 'statistical', 'get_news_data', 'login'],
        data: (s) => ({ history: s.historyTexts() }) },
    { path: '/Ecrilicalendar', file: 'calendar.html', title: '财经日历', bridge: 'Qtconnectjs', functions: ['outputMsg'],
        data: (s) => ({ history: s.calendarTexts() }) },
    { path: '/index/gg', file: 'gg.html', title: '推广', bridge: 'Qtconnectjs', functions: [], bodyClass: 'compact',
        cookies: (c) => (c.kvx_site ? [] : [`kvx_site=${Date.now().toString(36)}; Path=/; Max-Age=31536000`]),
        data: (s) => ({ notice: s.notice, featured: s.featured() }) },
    { path: '/hangqing', file: 'hangqing.html', title: '行情中心', bridge: 'Qtconnectjs', functions: [],
        data: () => ({ quotes: QUOTES.map((q) => Object.assign({}, q)) }) },
    { path: '/Industry', file: 'industry.html', title: '行业报道', bridge: 'Qtconnectjs', functions: [],
        data: (s) => ({ items: s.feed.filter((i) => ['Oil', 'Copper', 'PM', 'ME'].includes(i.vek_news_type)).slice(0, 12) }) },
    { path: '/Article', file: 'article.html', title: '每日分析', bridge: 'Qtconnectjs', functions: [],
        // "dyue": how often this reader opened the analysis, kept by the client across runs
        cookies: (c) => [`dyue=${(parseInt(c.dyue, 10) || 0) + 1}; Path=/; Max-Age=31536000`],
        data: () => ({ items: ARTICLES }) },
    { path: '/Index', file: 'headlines.html', title: '每日头条', bridge: 'Qtconnectjs', functions: [],
        data: (s) => ({ items: s.headlines() }) },
    { path: '/Expresslive/collect', file: 'collect.html', title: '我的收藏', bridge: 'Qtconnectjs', functions: [],
        data: (s, q) => ({ email: q.get('email') || '', items: s.favouriteItems(q.get('email') || '') }) },
    { path: '/encnzzwin', file: 'analytics.html', title: '统计', bridge: null, functions: [],
        cookies: (c) => {
            const out = [`kvx_visit=${Date.now().toString(36)}; Path=/`];
            if (!c.kvx_visitor) out.push(`kvx_visitor=${Math.random().toString(36).slice(2, 12)}; Path=/; Max-Age=31536000`);
            return out;
        } },
    { path: '/minipage', file: 'minipage.html', title: '迷你直播', bridge: 'miniconnectjs', functions: ['Obtain', 'showType', 'shenyin'],
        bodyClass: 'compact', data: (s) => ({ history: s.historyTexts() }) },
    { path: '/minipage/pagetext', file: 'pagetext.html', title: '资讯详情', bridge: null, functions: [],
        data: (s, q) => ({ item: s.itemById(q.get('id')), email: q.get('email') || '' }) },
    { path: '/tanchuang.htm', file: 'notice.html', title: '公告', bridge: null, functions: [],
        data: (s) => ({ notice: s.notice }) },
    { path: '/wicket', file: 'wicket.html', title: '全球直播', bridge: 'Popconjs', functions: ['iojieshou', 'delNews'], bodyClass: 'compact' },
    { path: '/login/login', file: 'login.html', title: '登录', bridge: 'LoginFormWindow', functions: [] },
    { path: '/register/register', file: 'register.html', title: '注册', bridge: 'LoginFormWindow', functions: [] },
    { path: '/register/regactive', file: 'regactive.html', title: '注册验证', bridge: 'LoginFormWindow', functions: ['getemial'] },
    { path: '/retrievepassword/emailfindcode01', file: 'findcode01.html', title: '找回密码', bridge: 'LoginFormWindow', functions: [] },
    { path: '/retrievepassword/emailfindcode02', file: 'findcode02.html', title: '找回密码验证', bridge: 'LoginFormWindow', functions: ['getdatap'] },
    { path: '/retrievepassword/emailfindcode03', file: 'findcode03.html', title: '修改密码', bridge: 'LoginFormWindow', functions: ['getdatapwd'] },
];

const QUOTES = [
    { name: '美元指数', close: 106.85, last: 107.12, digits: 2 },
    { name: '欧元/美元', close: 1.0512, last: 1.0468, digits: 4 },
    { name: '美元/日元', close: 151.20, last: 150.35, digits: 2 },
    { name: '英镑/美元', close: 1.2741, last: 1.2785, digits: 4 },
    { name: '美元/人民币(离岸)', close: 7.2712, last: 7.2950, digits: 4 },
    { name: '现货黄金', close: 2690.30, last: 2712.50, digits: 2 },
    { name: '现货白银', close: 31.42, last: 30.95, digits: 2 },
    { name: 'WTI原油', close: 69.80, last: 71.20, digits: 2 },
    { name: '布伦特原油', close: 73.40, last: 72.85, digits: 2 },
    { name: 'LME铜', close: 9017, last: 9125, digits: 0 },
];

const ARTICLES = [
    { title: '美元强势能否延续？关注本周通胀与利率决议', author: '林晓', date: '今日 08:30',
        text: '本周美国将公布11月CPI与零售销售数据，美联储随后召开年内最后一次议息会议。若通胀粘性超出预期，市场对明年降息路径的定价可能进一步收窄，美元指数有望在107上方获得支撑；反之则需警惕获利回吐。' },
    { title: '黄金：避险与降息交易交织，2650一线支撑明显', author: '周航', date: '今日 09:10',
        text: '地缘风险与全球央行购金为金价提供底部支撑，但美元走强限制上行空间。技术面上，2650美元/盎司附近支撑明显，上方关注2720美元阻力。' },
    { title: '原油：减产延长预期升温，需求疑虑仍存', author: '陈默', date: '今日 10:05',
        text: 'OPEC+倾向于延长自愿减产，短期对油价形成支撑。但全球需求增速放缓的担忧未消，布伦特原油或维持70至76美元区间震荡。' },
];

class PageRenderer {
    constructor(dir = PAGE_DIR) {
        this.dir = dir;
        this.byPath = new Map(PAGES.map((p) => [p.path, p]));
        this.fragments = new Map();
        for (const page of PAGES) this.fragments.set(page.path, fs.readFileSync(path.join(dir, page.file), 'utf8'));
    }

    find(pathname) { return this.byPath.get(pathname) || null; }

    // Data goes into a script element: escape what could end it or break the literal.
    static scriptJson(value) {
        return JSON.stringify(value === undefined ? {} : value)
            .replace(/</g, '\\u003c').replace(/>/g, '\\u003e').replace(/&/g, '\\u0026')
            .replace(/\u2028/g, '\\u2028').replace(/\u2029/g, '\\u2029');
    }

    render(page, state, query) {
        const data = page.data ? page.data(state, query) : {};
        return '<!DOCTYPE html>\n<html lang="zh-CN"><head><meta charset="utf-8">\n' +
            `<title>${page.title} - Korvex</title>\n` +
            '<meta name="viewport" content="width=device-width, initial-scale=1">\n' +
            '<link rel="stylesheet" href="/static/korvex.css">\n' +
            `<script>window.KORVEX_DATA = ${PageRenderer.scriptJson(data)};</script>\n` +
            '<script src="/static/korvex.js"></script>\n' +
            `</head><body class="${page.bodyClass || 'page'}">\n${this.fragments.get(page.path)}</body></html>\n`;
    }
}

module.exports = { PAGES, PageRenderer };
