// The page's script: loads the dialog's WebAssembly module, mirrors what the dialog shows into the
// page's elements, and forwards what the user does to it. Every rule of the dialog lives in the
// module; this only carries texts, ticks, picks and presses across, shows the message boxes the
// dialog queued one at a time in their order, and copies the window's pixels to the canvas.
'use strict';
(() => {
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
    // The module (which the page preloads) is compiled while the page is still being parsed and
    // laid out, and instantiated once the functions it imports from the page are in place. A
    // server that does not call it application/wasm still serves it.
    const compiling = fetch('korzenik.wasm').then((r) => WebAssembly.compileStreaming(r.clone())
        .catch(() => r.arrayBuffer().then((b) => WebAssembly.compile(b))));

    if (document.readyState === 'loading') {
        document.addEventListener('DOMContentLoaded', begin);
    } else {
        begin();
    }

    function begin() {
        const $ = (id) => document.getElementById(id);
        const body = document.body;
        const win = $('window');
        const list = $('IDC_RESULTS');
        const canvas = $('surface');
        const messageBox = $('messagebox');
        const aboutBox = $('aboutbox');
        const menu = $('windowmenu');
        /// Every control the dialog knows, by its identifier.
        const controls = new Map([...win.querySelectorAll('[data-id]')].map((e) => [+e.dataset.id, e]));
        const mnemonics = new Map([...win.querySelectorAll('[data-mnemonic]')].map((e) => [e.dataset.mnemonic, e]));

        let dialog = null;  // the module's exports
        let pixelsReady = false;
        let refusedField = false;  // a refused number took the focus during this press
        let selectionMoved = false;

        const decoder = new TextDecoder();
        const encoder = new TextEncoder();
        const bytes = (at, size) => new Uint8Array(dialog.memory.buffer, at, size);
        const text = (at) => decoder.decode(bytes(at, dialog.textSize()));

        Object.assign(page, {
            lineAppended(at, size) {
                const line = document.createElement('div');
                line.setAttribute('role', 'option');
                line.setAttribute('aria-selected', 'false');
                line.textContent = decoder.decode(bytes(at, size));
                list.append(line);
            },
            lineSelected(index) {
                list.querySelector('[aria-selected="true"]')?.setAttribute('aria-selected', 'false');
                list.children[index]?.setAttribute('aria-selected', 'true');
                selectionMoved = true;
            },
            lineDeleted(index) {
                list.children[index]?.remove();
            },
            focusedAndSelected() {
                refusedField = true;
            },
            surfaceReleased() {
                pixelsReady = true;
            },
        });

        /// Brings every element up to what the dialog shows now.
        function mirror() {
            for (const [id, e] of controls) {
                if (e.tagName === 'SELECT') {
                    e.selectedIndex = dialog.comboSelection(id);
                } else if (e.type === 'checkbox') {
                    e.checked = dialog.checkState(id) !== 0;
                } else if (e.tagName === 'INPUT' || e.classList.contains('static')) {
                    const shown = text(dialog.controlText(id));
                    // An unchanged field keeps its caret and selection.
                    if (e.tagName === 'INPUT' && e.value !== shown) e.value = shown;
                    if (e.tagName !== 'INPUT' && e.textContent !== shown) e.textContent = shown;
                }
            }
            if (pixelsReady) {
                pixelsReady = false;
                const size = canvas.width * canvas.height * 4;
                const rgba = new Uint8ClampedArray(dialog.memory.buffer, dialog.clientPixels(), size);
                canvas.getContext('2d').putImageData(new ImageData(rgba, canvas.width), 0, 0);
            }
            if (selectionMoved) {
                selectionMoved = false;
                const line = list.querySelector('[aria-selected="true"]');
                if (line && line.offsetTop < list.scrollTop) {
                    list.scrollTop = line.offsetTop;
                } else if (line && line.offsetTop + line.offsetHeight > list.scrollTop + list.clientHeight) {
                    list.scrollTop = line.offsetTop + line.offsetHeight - list.clientHeight;
                }
            }
        }

        function press(id) {
            body.dataset.busy = '1';
            dialog.press(id);
            mirror();
            showMessage();
        }

        /// The oldest message box the press left open, or, when all were closed, the end of the press:
        /// the focus goes where the dialog put it, with a refused field's text selected.
        function showMessage() {
            if (dialog.messageCount() === 0) {
                const focused = controls.get(dialog.focusedControl());
                focused?.focus();
                if (refusedField) focused?.select();
                refusedField = false;
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

        // What the user does.
        const ready = () => body.dataset.busy === '0';
        win.addEventListener('input', (e) => {
            const id = +e.target.dataset.id;
            if (!ready() || e.target.type !== 'text' || !id) return;
            const typed = encoder.encode(e.target.value);
            bytes(dialog.textBuffer(typed.length), typed.length).set(typed);
            dialog.typeText(id, typed.length);
        });
        win.addEventListener('change', (e) => {
            const id = +e.target.dataset.id;
            if (!ready()) return;
            if (e.target.tagName === 'SELECT') dialog.pickItem(id, e.target.selectedIndex);
            if (e.target.type === 'checkbox') dialog.setChecked(id, e.target.checked ? 1 : 0);
        });
        // During a press the focus moves only as the dialog moves it; a closing box hands it back.
        win.addEventListener('focusin', (e) => {
            if (ready() && e.target.dataset.id) dialog.focusControl(+e.target.dataset.id);
        });
        win.addEventListener('click', (e) => {
            const button = e.target.closest('button[data-id]');
            if (ready() && button) press(+button.dataset.id);
        });
        list.addEventListener('mousedown', (e) => {
            const index = [...list.children].indexOf(e.target.closest('[role="option"]'));
            if (ready() && index >= 0) {
                dialog.selectLine(index);
                mirror();
            }
        });
        // The dialog's keys: Enter and Escape do nothing, Tab goes round the tab stops without leaving
        // the window, Alt and a mnemonic press its button, the arrows move through the list. Boxes and
        // the menu have keys of their own.
        document.addEventListener('keydown', (e) => {
            if (e.target.closest('dialog, [popover]')) return;
            const plain = !e.altKey && !e.ctrlKey && !e.metaKey;
            if (e.key === 'Enter' || e.key === 'Escape') {
                e.preventDefault();
            } else if (e.key === 'Tab' && plain) {
                const stops = [...win.querySelectorAll('select, input, button')].filter((c) => c.tabIndex >= 0);
                const at = stops.indexOf(document.activeElement);
                e.preventDefault();
                stops.at(at < 0 ? 0 : (at + (e.shiftKey ? stops.length - 1 : 1)) % stops.length).focus();
            } else if (e.altKey && !e.ctrlKey && !e.metaKey && mnemonics.has(e.key.toLowerCase())) {
                e.preventDefault();
                const button = mnemonics.get(e.key.toLowerCase());
                button.focus();
                button.click();
            } else if (ready() && e.target === list && (e.key === 'ArrowDown' || e.key === 'ArrowUp')) {
                e.preventDefault();
                const at = [...list.children].findIndex((l) => l.getAttribute('aria-selected') === 'true');
                const next = Math.min(Math.max(at + (e.key === 'ArrowDown' ? 1 : -1), 0), list.children.length - 1);
                if (next >= 0) {
                    dialog.selectLine(next);
                    mirror();
                }
            }
        });

        // The window menu: a right click anywhere but in an edit box (which keeps its own menu), the
        // Menu key or Shift+F10, and a click on the caption's icon.
        function openMenu(x, y) {
            menu.showPopover();
            menu.style.left = `${Math.max(0, Math.min(x, innerWidth - menu.offsetWidth))}px`;
            menu.style.top = `${Math.max(0, Math.min(y, innerHeight - menu.offsetHeight))}px`;
            menu.firstElementChild.focus();
        }
        win.addEventListener('contextmenu', (e) => {
            if (e.target.type === 'text') return;
            e.preventDefault();
            openMenu(e.clientX, e.clientY);
        });
        $('window-icon').addEventListener('click', (e) => {
            const r = e.target.getBoundingClientRect();
            openMenu(r.left, r.bottom);
        });
        const about = $('windowmenu-about');
        about.addEventListener('click', () => {
            menu.hidePopover();
            aboutBox.showModal();
        });
        menu.addEventListener('keydown', (e) => {
            if (e.key.toLowerCase() === about.dataset.key) about.click();
        });

        // On a screen narrower than the window the whole window is scaled down to fit.
        new ResizeObserver(() => {
            const room = document.documentElement.clientWidth;
            const width = win.offsetWidth;
            win.style.zoom = room < width ? String(room / width) : '';
        }).observe(document.documentElement);

        compiling.then((module) => WebAssembly.instantiate(module, imports)).then((instance) => {
            dialog = instance.exports;
            dialog._initialize();
            dialog.start();
            for (const [id, e] of controls) {
                if (e.tagName !== 'SELECT') continue;
                for (let i = 0; i < dialog.comboCount(id); ++i) e.add(new Option(text(dialog.comboItem(id, i))));
            }
            pixelsReady = true;
            mirror();
            // The window takes input from now on: it is inert until the dialog stands behind it.
            win.inert = false;
            body.dataset.busy = '0';
            controls.get(dialog.focusedControl())?.focus();
            // Only then, in a task of its own, the files are fetched once more for offline use, out
            // of the page's way (registering costs about a millisecond before anything is fetched).
            if ('serviceWorker' in navigator) setTimeout(() => navigator.serviceWorker.register('sw.js'));
        });
    }
})();
