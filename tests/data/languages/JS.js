// todo.js - a tiny to-do list bound to the page.
'use strict';

const STORAGE_KEY = "todos-v2";
const MAX_ITEMS = 0x40;

class TodoList {
    #items = [];

    constructor(root) {
        this.root = root;
        this.#items = JSON.parse(localStorage.getItem(STORAGE_KEY) ?? '[]');
    }

    add(text) {
        if (typeof text !== 'string' || text.trim() === "") return false;
        if (this.#items.length >= MAX_ITEMS) {
            throw new RangeError(`too many items: ${this.#items.length}`);
        }
        this.#items.push({ text, done: false, created: Date.now() });
        this.save();
        return true;
    }

    toggle(index) {
        const item = this.#items[index];
        if (item === undefined) return;
        item.done = !item.done;
        this.save();
    }

    save() {
        localStorage.setItem(STORAGE_KEY, JSON.stringify(this.#items));
        this.render();
    }

    /* Rebuilds the list; cheap enough for a few dozen items. */
    render() {
        this.root.innerHTML = "";
        for (const [i, item] of this.#items.entries()) {
            const li = document.createElement('li');
            li.textContent = item.text;
            li.className = item.done ? "done" : "";
            li.addEventListener('click', () => this.toggle(i));
            this.root.appendChild(li);
        }
    }
}

async function loadDefaults(list) {
    const response = await fetch('/api/defaults.json');
    const data = response.ok ? await response.json() : [];
    data.forEach((text) => list.add(text));
    console.log("loaded", data.length, "defaults in", 1.5e3, "ms at most");
}

export { TodoList, loadDefaults };
