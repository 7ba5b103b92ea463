'use strict';
// Demo account store behind the login pages, kept as one JSON file in the
// service's state folder. Mail is not sent anywhere: the pages show the
// verification code they would have mailed.
const crypto = require('crypto');
const fs = require('fs');

const DEMO = Object.freeze({ email: 'demo@korvex.test', password: 'korvex123', name: '演示用户' });
const PENDING = Object.freeze({ email: 'pending@korvex.test', password: 'korvex123', name: '待激活用户', code: '135790' });

class AccountError extends Error {
    constructor(status, message) {
        super(message);
        this.status = status;
    }
}

function hashPassword(password, salt) {
    return crypto.scryptSync(password, salt, 32, { N: 1024 }).toString('hex');
}

function newCode() {
    return String(crypto.randomInt(0, 1000000)).padStart(6, '0');
}

function checkEmail(email) {
    if (typeof email !== 'string' || !/^[^\s@]{1,64}@[^\s@]{1,190}$/.test(email))
        throw new AccountError(400, '请输入有效的邮箱地址');
    return email.toLowerCase();
}

function checkPassword(password) {
    if (typeof password !== 'string' || password.length < 6 || password.length > 128)
        throw new AccountError(400, '密码长度应为6到128位');
    return password;
}

class Accounts {
    constructor(file) {
        this.file = file;
        this.reset();
    }

    reset() {
        this.users = {};
        this.add(DEMO.email, DEMO.password, DEMO.name, true);
        this.add(PENDING.email, PENDING.password, PENDING.name, false).code = PENDING.code;
        this.save();
    }

    add(email, password, name, active) {
        const salt = crypto.randomBytes(8).toString('hex');
        const user = {
            email, name, salt, hash: hashPassword(password, salt), active,
            code: active ? '' : newCode(), resetCode: '', resetVerified: false, favourites: [],
        };
        this.users[email] = user;
        return user;
    }

    save() {
        fs.writeFileSync(this.file, JSON.stringify(this.users, null, 1));
    }

    user(email) {
        const user = this.users[checkEmail(email)];
        if (!user) throw new AccountError(404, '该邮箱尚未注册');
        return user;
    }

    static session(user, auto) {
        return { state: '1', userName: user.name, mailBox: user.email, isAuto: auto ? '1' : '0' };
    }

    login(email, password, auto) {
        let user;
        try {
            user = this.user(email);
        } catch (e) {
            throw new AccountError(401, '邮箱或密码错误');
        }
        if (typeof password !== 'string' || hashPassword(password, user.salt) !== user.hash)
            throw new AccountError(401, '邮箱或密码错误');
        return Object.assign(Accounts.session(user, auto), { isError: user.active ? '1' : '-1' });
    }

    register(email, name, password) {
        const key = checkEmail(email);
        checkPassword(password);
        if (this.users[key]) throw new AccountError(409, '该邮箱已注册');
        const display = typeof name === 'string' && name.trim() ? name.trim().slice(0, 40) : key.split('@')[0];
        const user = this.add(key, password, display, false);
        this.save();
        return { mailBox: key, demoCode: user.code };
    }

    // Mail is not sent here: the verification pages show the codes instead.
    hint(email) {
        const user = this.user(email);
        return { mailBox: user.email, code: user.code, resetCode: user.resetCode };
    }

    activate(email, code) {
        const user = this.user(email);
        if (!user.active && (typeof code !== 'string' || code !== user.code))
            throw new AccountError(400, '验证码不正确');
        user.active = true;
        user.code = '';
        this.save();
        return Accounts.session(user, false);
    }

    recover(email) {
        const user = this.user(email);
        user.resetCode = newCode();
        user.resetVerified = false;
        this.save();
        return { mailBox: user.email, demoCode: user.resetCode };
    }

    verifyResetCode(email, code) {
        const user = this.user(email);
        if (!user.resetCode || code !== user.resetCode) throw new AccountError(400, '验证码不正确');
        user.resetVerified = true;
        this.save();
        return { mailBox: user.email };
    }

    changePassword(email, password) {
        const user = this.user(email);
        checkPassword(password);
        if (!user.resetVerified) throw new AccountError(403, '请先完成邮箱验证');
        user.salt = crypto.randomBytes(8).toString('hex');
        user.hash = hashPassword(password, user.salt);
        user.resetCode = '';
        user.resetVerified = false;
        this.save();
        return { mailBox: user.email };
    }

    collect(email, id) {
        const user = this.user(email);
        if (!Number.isInteger(id) || id <= 0) throw new AccountError(400, '无效的资讯编号');
        if (!user.favourites.includes(id)) user.favourites.unshift(id);
        user.favourites = user.favourites.slice(0, 200);
        this.save();
        return { favourites: user.favourites };
    }

    favourites(email) {
        try {
            return this.user(email).favourites;
        } catch (e) {
            return null;
        }
    }

    // What tests may read: no password hashes.
    toJSON() {
        return Object.values(this.users).map((u) => ({
            email: u.email, name: u.name, active: u.active, code: u.code, resetCode: u.resetCode,
            favourites: u.favourites,
        }));
    }
}

module.exports = { Accounts, AccountError, DEMO, PENDING };
