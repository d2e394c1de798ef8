// The page's script: loads the dialog's WebAssembly module, mirrors what the dialog shows into the
// page's elements, and forwards what the user does to it. Every rule of the dialog lives in the
// module, which this asks what a key does, whose menu a right click opens, which pixels are new
// and what a screen reader hears; this only carries texts, ticks, picks, keys and presses across,
// shows the message boxes the dialog queued one at a time in their order, copies the window's
// pixels to the canvas, lays the window out for the screen it is on, enters the exercise that the
// page's address carries, and copies the address of the one on the screen.
'use strict';
(() => {
    // The page has its script: the message the page shows without one stays hidden.
    document.documentElement.dataset.script = '';
    const $ = (id) => document.getElementById(id);

    // What the dialog tells the page while it works; filled in below.
    const page = {};
    const imports = {
        page,
        env: { emscripten_notify_memory_growth() {} },
        wasi_snapshot_preview1: {
            proc_exit(code) {
                throw new Error(`the dialog stopped (${code})`);
            },
        },
    };

    /// Why the dialog could not start: the reason the page's texts name (data-why) and, for a
    /// file the server would not give, its answer.
    class LoadFailure extends Error {
        constructor(why, status = undefined) {
            super(why);
            this.why = why;
            this.status = status;
        }
    }
    const MODULE = 'korzenik.wasm';
    const fail = (why, status) => new LoadFailure(why, status);

    // The module (which the page preloads, its address carrying its digest) is compiled while the
    // page is still being laid out, and instantiated once the functions it imports from the page
    // are in place. A server that does not call it application/wasm still serves it.
    const compiling = (async () => {
        if (location.protocol === 'file:') throw fail('disk');
        if (typeof WebAssembly !== 'object') throw fail('webAssembly');
        const address = document.querySelector('link[rel="preload"][as="fetch"]')?.getAttribute('href') ?? MODULE;
        let response;
        try {
            response = await fetch(address);
        } catch {
            throw fail('network');
        }
        if (!response.ok) throw fail(response.status === 404 || response.status === 410 ? 'gone' : 'refused', response.status);
        try {
            return await WebAssembly.compileStreaming(response.clone());
        } catch {
            return WebAssembly.compile(await response.arrayBuffer()).catch(() => {
                throw fail('damaged');
            });
        }
    })();

    const body = document.body;
    const root = document.documentElement;
    const win = $('window');
    const client = $('client');
    const list = $('IDC_RESULTS');
    const canvas = $('surface');
    const messageBox = $('messagebox');
    const aboutBox = $('aboutbox');
    const menu = $('windowmenu');
    /// Every control the dialog knows, by its identifier.
    const controls = new Map([...win.querySelectorAll('[data-id]')].map((e) => [+e.dataset.id, e]));
    const mnemonics = new Map([...win.querySelectorAll('[data-mnemonic]')].map((e) => [e.dataset.mnemonic, e]));
    const measure = (name) => parseFloat(getComputedStyle(root).getPropertyValue(name));
    const WINDOW_WIDTH = measure('--window-width');
    const CHART_WIDTH = measure('--chart-width');
    const CHART_HEIGHT = measure('--chart-height');
    const CHART_LEFT = measure('--chart-left');
    const CHART_TOP = measure('--chart-top');
    // What the module says a key does (its keyEffect).
    const SWALLOW = 1;
    const CONTEXT_MENU = 2;

    let dialog = null;  // the module's exports

    // The layout. Where the window fits the screen it stands as the layout table has it; on a
    // narrower screen the page reflows (the style sheet's narrow rules), the chart as wide as the
    // screen has room for. The chart's scale, the device pixels a window pixel, is the one every
    // window takes (the module's displayScale): the screen's ratio where the room holds the chart
    // at it, else what fits, never below one. Until the module is there the window is laid out
    // at its natural size.
    const view = client.querySelector('.view');
    let scale = 0;  // the chart's, 0 until the module is there
    let ratio = 0;  // the screen's, at that scale
    function arrange() {
        const now = window.devicePixelRatio || 1;
        const wide = dialog ? dialog.displayScale(now, Infinity, Infinity, CHART_WIDTH, CHART_HEIGHT) : now;
        // The style changes only where the layout does: the page starts wide at --s 1.
        const grown = WINDOW_WIDTH + CHART_WIDTH * (Math.max(wide / now, 1) - 1);
        const layout = root.clientWidth >= grown ? 'wide' : 'narrow';
        if (root.dataset.layout !== layout) root.dataset.layout = layout;
        if (!dialog) return;
        let to = wide;
        if (layout === 'narrow') {
            const frame = parseFloat(getComputedStyle(view).marginLeft) + parseFloat(getComputedStyle(view).marginRight);
            const room = (client.getBoundingClientRect().width - frame) * now;
            to = dialog.displayScale(now, room, Infinity, CHART_WIDTH, CHART_HEIGHT);
        }
        if (to !== scale || now !== ratio) showAt(to, now);
    }
    arrange();
    new ResizeObserver(arrange).observe(root);
    // A window moved to a screen of another pixel ratio (or a zoom that keeps the width).
    (function watchRatio() {
        matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`).addEventListener('change', () => {
            arrange();
            watchRatio();
        }, { once: true });
    })();

    /// Shows the chart at `to` device pixels a window pixel on a screen of `at` device pixels a
    /// CSS pixel: the canvas as large as its device pixels, all of them drawn anew.
    function showAt(to, at) {
        scale = to;
        ratio = at;
        dialog.setScale(scale);
        const edge = (pixel) => dialog.deviceEdge(pixel);
        const css = (name, device) => root.style.setProperty(name, `${device / ratio}px`);
        canvas.width = dialog.clientDeviceWidth();
        canvas.height = dialog.clientDeviceHeight();
        css('--surface-left', -edge(CHART_LEFT));
        css('--surface-top', -edge(CHART_TOP));
        root.style.setProperty('--surface-scale', String(1 / ratio));
        root.style.setProperty('--s', String(scale / ratio));
        paint();
    }

    let refusedField = false;  // a refused number took the focus during this press
    let refusedPlace = null;   // [from, to] selected in a field whose text did not read
    let selectionMoved = false;
    let lastFocus = null;  // the window's control that had the focus last

    const decoder = new TextDecoder();
    const encoder = new TextEncoder();
    const bytes = (at, size) => new Uint8Array(dialog.memory.buffer, at, size);
    const text = (at) => decoder.decode(bytes(at, dialog.textSize()));
    /// Hands a text to the dialog in its text buffer; returns its size.
    const pass = (s) => {
        const b = encoder.encode(s);
        bytes(dialog.textBuffer(b.length), b.length).set(b);
        return b.length;
    };

    // The results list's lines in their order, with the index of the first: lines leave from
    // the front, so a line's index is its number less that of the first line kept. Every
    // operation on the list costs the same however long the list is: the lines sit in blocks of
    // blocks of 64, each laid out on its own, so that a new line lays out its own block only.
    let lines = [];
    let firstLine = 0;  // in lines: the lines before it were deleted
    let selected = null;  // the selected line's element
    let lineSerial = 0;  // for the lines' element ids
    const lineAt = (index) => (index >= 0 ? lines[firstLine + index] : undefined);
    const BLOCK = 64;
    const block = (parent) => {
        const b = document.createElement('div');
        b.setAttribute('role', 'none');
        parent.append(b);
        return b;
    };
    function placeLine(line) {
        let outer = list.lastElementChild;
        if (!outer || (outer.childElementCount === BLOCK && outer.lastElementChild.childElementCount === BLOCK)) {
            outer = block(list);
        }
        let inner = outer.lastElementChild;
        if (!inner || inner.childElementCount === BLOCK) inner = block(outer);
        inner.append(line);
    }
    function unplaceLine(line) {
        const inner = line.parentElement;
        line.remove();
        if (inner.firstElementChild) return;
        const outer = inner.parentElement;
        inner.remove();
        if (!outer.firstElementChild) outer.remove();
    }
    function select(line) {
        selected?.setAttribute('aria-selected', 'false');
        selected = line ?? null;
        selected?.setAttribute('aria-selected', 'true');
        if (selected) list.setAttribute('aria-activedescendant', selected.id);
        else list.removeAttribute('aria-activedescendant');
    }

    Object.assign(page, {
        lineAppended(at, size) {
            const line = document.createElement('div');
            line.id = `line${++lineSerial}`;
            line.setAttribute('role', 'option');
            line.setAttribute('aria-selected', 'false');
            line.textContent = decoder.decode(bytes(at, size));
            line.number = lines.length;
            lines.push(line);
            placeLine(line);
        },
        lineSelected(index) {
            select(lineAt(index));
            selectionMoved = true;
        },
        lineDeleted(index) {
            const line = lineAt(index);
            if (!line) return;
            unplaceLine(line);
            if (line === selected) select(null);
            if (index === 0) {
                lines[firstLine++] = undefined;
            } else {
                lines.splice(firstLine + index, 1);
                for (let i = firstLine + index; i < lines.length; ++i) lines[i].number = i;
            }
            // The deleted front is let go of once it is half the array.
            if (firstLine * 2 >= lines.length) {
                lines = lines.slice(firstLine);
                firstLine = 0;
                lines.forEach((l, i) => { l.number = i; });
            }
        },
        focusedAndSelected() {
            refusedField = true;
        },
        focusedWithSelection(id, first, count) {
            refusedPlace = [first, first + count];
        },
    });

    /// Copies the client pixels drawn since the last time to the canvas, as the device shows them.
    function paint() {
        // The module's memory may grow while it converts the pixels: its buffer is taken after.
        const at = dialog.clientPixels();
        const [x0, y0, x1, y1] = new Int32Array(dialog.memory.buffer, dialog.convertedArea(), 4);
        if (x0 >= x1 || y0 >= y1) return;
        const rgba = new Uint8ClampedArray(dialog.memory.buffer, at, canvas.width * canvas.height * 4);
        canvas.getContext('2d').putImageData(new ImageData(rgba, canvas.width), 0, 0, x0, y0, x1 - x0, y1 - y0);
    }

    /// A drop-down's box shows the entry chosen in it.
    const showChoice = (select) => {
        const chosen = select.selectedOptions[0]?.text ?? '';
        if (select.nextElementSibling.textContent !== chosen) select.nextElementSibling.textContent = chosen;
    };

    /// Brings every element up to what the dialog shows now.
    function mirror() {
        for (const [id, e] of controls) {
            const off = !dialog.controlEnabled(id);
            if ('disabled' in e && e.disabled !== off) e.disabled = off;
            if (e.tagName === 'SELECT') {
                e.selectedIndex = dialog.comboSelection(id);
                showChoice(e);
            } else if (e.type === 'checkbox') {
                e.checked = dialog.checkState(id) !== 0;
            } else if (e.type === 'text' || e.tagName === 'SPAN') {
                const shown = text(dialog.controlText(id));
                // An unchanged field keeps its caret and selection.
                if (e.tagName === 'INPUT' && e.value !== shown) e.value = shown;
                if (e.tagName !== 'INPUT' && e.textContent !== shown) e.textContent = shown;
            }
        }
        paint();
        if (selectionMoved) {
            selectionMoved = false;
            if (selected) {
                const top = selected.getBoundingClientRect().top - list.getBoundingClientRect().top - list.clientTop;
                const bottom = top + selected.offsetHeight;
                if (top < 0) list.scrollTop += top;
                else if (bottom > list.clientHeight) list.scrollTop += bottom - list.clientHeight;
            }
        }
    }

    // What a screen reader hears after every press: what the chart shows, and the lines it added.
    function tell() {
        $('chart-text').textContent = text(dialog.chartDescription());
        $('announcement').textContent = text(dialog.announcement());
    }

    function press(id) {
        body.dataset.busy = '1';
        dialog.press(id);
        mirror();
        tell();
        showMessage();
    }

    /// Gives the focus back to the window's control that had it last.
    function restoreFocus() {
        const back = lastFocus && win.contains(lastFocus) ? lastFocus : controls.get(dialog?.focusedControl());
        back?.focus();
    }

    /// The oldest message box the press left open, or, when all were closed, the end of the press:
    /// the focus goes where the dialog put it, with a refused field's text selected.
    function showMessage() {
        if (dialog.messageCount() === 0) {
            const focused = controls.get(dialog.focusedControl());
            focused?.focus();
            if (refusedPlace) focused?.setSelectionRange(...refusedPlace);
            else if (refusedField) focused?.select();
            refusedField = false;
            refusedPlace = null;
            body.dataset.busy = '0';
            return;
        }
        messageBox.dataset.icon = text(dialog.messageIcon());
        $('messagebox-caption').textContent = text(dialog.messageText(1));
        $('messagebox-text').textContent = text(dialog.messageText(0));
        messageBox.showModal();
    }

    messageBox.addEventListener('close', () => {
        dialog.dismissMessage();
        showMessage();
    });
    $('messagebox-ok').addEventListener('click', () => messageBox.close());
    $('aboutbox-ok').addEventListener('click', () => aboutBox.close());
    aboutBox.addEventListener('close', restoreFocus);

    // What the user does.
    const ready = () => body.dataset.busy === '0';
    win.addEventListener('input', (e) => {
        const id = +e.target.dataset.id;
        if (!ready() || e.target.type !== 'text' || !id) return;
        dialog.typeText(id, pass(e.target.value));
    });
    win.addEventListener('change', (e) => {
        const id = +e.target.dataset.id;
        if (!ready()) return;
        if (e.target.tagName === 'SELECT') {
            dialog.pickItem(id, e.target.selectedIndex);
            showChoice(e.target);
            mirror();
        }
        if (e.target.type === 'checkbox') dialog.setChecked(id, e.target.checked ? 1 : 0);
    });
    // During a press the focus moves only as the dialog moves it; a closing box hands it back.
    win.addEventListener('focusin', (e) => {
        if (!e.target.dataset.id) return;
        lastFocus = e.target;
        if (ready()) dialog.focusControl(+e.target.dataset.id);
    });
    // A click on the window's face, as in a dialog, leaves the focus where it is.
    win.addEventListener('mousedown', (e) => {
        if (!e.target.closest('input, select, button, label, .list')) e.preventDefault();
    });
    win.addEventListener('click', (e) => {
        const button = e.target.closest('button[data-id]');
        if (ready() && button) press(+button.dataset.id);
    });
    list.addEventListener('mousedown', (e) => {
        const line = e.target.closest('[role="option"]');
        if (ready() && line) {
            dialog.selectLine(line.number - firstLine);
            mirror();
        }
    });
    /// The identifier of the window's control that is or holds an element, or -1.
    const controlOf = (element) => +(element.closest('[data-id]')?.dataset.id ?? -1);
    // The dialog's keys as the module's rules take them (Enter and Escape do nothing, the Menu key
    // and Shift+F10 ask for a context menu, the arrows, Home and End move through the list); Tab
    // goes round the tab stops without leaving the window, Alt and a mnemonic's key press its
    // button whatever character the key types on the keyboard's layout. Boxes and the menu have
    // keys of their own.
    document.addEventListener('keydown', (e) => {
        if (!dialog || e.target.closest('dialog, [popover]')) return;
        const plain = !e.altKey && !e.ctrlKey && !e.metaKey;
        const letter = /^Key([A-Z])$/.exec(e.code)?.[1].toLowerCase() ?? e.key.toLowerCase();
        const held = [e.shiftKey, e.ctrlKey || e.metaKey, e.altKey];
        const effect = dialog.keyEffect(pass(e.key), ...held);
        if (effect === SWALLOW) {
            e.preventDefault();
        } else if (effect === CONTEXT_MENU) {
            // An edit box's own menu is the browser's, which the key opens.
            if (!ready() || dialog.keepsOwnMenu(controlOf(e.target))) return;
            e.preventDefault();
            const r = e.target.getBoundingClientRect();
            openMenu(r.left, r.bottom);
        } else if (e.key === 'Tab' && plain) {
            const stops = [...client.querySelectorAll('select, input, button, [role="listbox"]')]
                .filter((c) => c.tabIndex >= 0 && !c.disabled);
            const at = stops.indexOf(document.activeElement);
            e.preventDefault();
            stops.at(at < 0 ? 0 : (at + (e.shiftKey ? stops.length - 1 : 1)) % stops.length).focus();
        } else if (e.altKey && !e.ctrlKey && !e.metaKey && mnemonics.has(letter)) {
            e.preventDefault();
            // A button is pressed; a field's label is clicked, which focuses the field.
            const button = mnemonics.get(letter);
            if (button.tagName === 'BUTTON') button.focus();
            button.click();
        } else if (ready() && e.target === list && dialog.listKey(pass(e.key), ...held)) {
            e.preventDefault();
            mirror();
        }
    });

    // The window menu: a right click anywhere but in an edit box (which keeps its own menu), the
    // Menu key or Shift+F10, and a click on the caption's icon. Closed, it gives the focus back to
    // where it was when it opened (which a click on the window's face does not move).
    function openMenu(x, y) {
        if (menu.matches(':popover-open')) return;
        menu.showPopover();
        menu.style.left = `${Math.max(0, Math.min(x, innerWidth - menu.offsetWidth))}px`;
        menu.style.top = `${Math.max(0, Math.min(y, innerHeight - menu.offsetHeight))}px`;
        menu.firstElementChild.focus();
    }
    win.addEventListener('contextmenu', (e) => {
        if (!ready() || dialog.keepsOwnMenu(controlOf(e.target))) return;
        e.preventDefault();
        openMenu(e.clientX, e.clientY);
    });
    // The browser's own menu never opens over the window menu.
    menu.addEventListener('contextmenu', (e) => e.preventDefault());
    $('window-icon').addEventListener('click', (e) => {
        if (!ready()) return;
        const r = e.target.getBoundingClientRect();
        openMenu(r.left, r.bottom);
    });
    $('windowmenu-about').addEventListener('click', () => {
        menu.hidePopover();
        aboutBox.showModal();
    });
    // The address of the exercise the controls hold: to the clipboard, or where the browser
    // refuses, into a box that shows it selected.
    const linkBox = $('linkbox');
    const address = $('linkbox-address');
    $('windowmenu-link').addEventListener('click', async () => {
        menu.hidePopover();
        address.value = `${location.href.replace(/#.*/, '')}#${text(dialog.exerciseLink())}`;
        try {
            await navigator.clipboard.writeText(address.value);
            $('announcement').textContent = $('announcement').dataset.linkCopied;
        } catch {
            linkBox.showModal();
            address.select();
        }
    });
    $('linkbox-ok').addEventListener('click', () => linkBox.close());
    linkBox.addEventListener('close', restoreFocus);
    // The arrows walk the entries, and an entry's underlined letter chooses it.
    menu.addEventListener('keydown', (e) => {
        const entries = [...menu.children];
        const step = { ArrowDown: 1, ArrowUp: -1 }[e.key];
        if (step) {
            e.preventDefault();
            entries.at((entries.indexOf(document.activeElement) + step) % entries.length).focus();
        }
        const letter = /^Key([A-Z])$/.exec(e.code)?.[1].toLowerCase() ?? e.key.toLowerCase();
        menu.querySelector(`[data-key="${CSS.escape(letter)}"]`)?.click();
    });

    // Another exercise's address opened in this page opens it as a new page would.
    addEventListener('hashchange', () => location.reload());

    /// Says in the window why the dialog could not start; the window stays inert.
    function showFailure(error) {
        const failure = error instanceof LoadFailure ? error : fail('damaged');
        for (const text of $('failure').querySelectorAll(`[data-why="${failure.why}"]`)) {
            text.querySelector('.status')?.replaceChildren(String(failure.status));
            text.hidden = false;
        }
        $('failure').hidden = false;
        client.inert = true;
        win.inert = false;
        body.dataset.busy = 'failed';
    }

    compiling.then((module) => WebAssembly.instantiate(module, imports).catch(() => {
        throw fail('damaged');
    })).then((instance) => {
        dialog = instance.exports;
        dialog._initialize();
        dialog.start();
        for (const [id, e] of controls) {
            if (e.tagName !== 'SELECT') continue;
            for (let i = 0; i < dialog.comboCount(id); ++i) e.add(new Option(text(dialog.comboItem(id, i))));
        }
        // An exercise in the address is entered as the student would, pressing nothing.
        dialog.openExercise(pass(location.hash.slice(1)));
        // The chart at the screen's scale, with the window's first picture.
        arrange();
        mirror();
        // The window takes input from now on: it is inert until the dialog stands behind it.
        win.inert = false;
        body.dataset.busy = '0';
        controls.get(dialog.focusedControl())?.focus();
        // Only then, in a task of its own, the service worker that keeps the page for offline use
        // is registered, out of the page's way (registering costs about a millisecond).
        if ('serviceWorker' in navigator) {
            setTimeout(() => navigator.serviceWorker.register('sw.js', { updateViaCache: 'none' }).catch(() => {}));
        }
    }).catch(showFailure);
})();
