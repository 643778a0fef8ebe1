// Which keys reach the program (emcc --pre-js, before web/page.js). SDL listens for
// keys on the canvas alone (web/shell.cpp): keys reach the program only while the
// canvas has the focus (it takes it at the start and at a click), and elsewhere the
// page's controls take Tab, Enter and Space as on any page. Even on the canvas the
// browser keeps its own keys, which SDL would otherwise take from it.
(function () {
  'use strict';
  var canvas = document.getElementById('canvas');
  // The letters the program takes with Ctrl: the history's Z and Y, its fields' C, X, V.
  var withCtrl = 'zyxcv';

  // Whether the browser keeps the key of the event e: the function keys (F5, F11,
  // F12...), Tab (out of the canvas), and with Ctrl, Alt or the system key whatever the
  // program does not take (Ctrl+R, L, T, W, F, P, plus, minus, 0...). Modifiers alone
  // reach the program, and so does a letter typed with AltGr.
  function browsers(e) {
    var k = e.key || '';
    if (/^F\d+$/.test(k) || k === 'Tab') return true;
    if (k === 'Control' || k === 'Shift' || k === 'Alt' || k === 'Meta' || k === 'AltGraph')
      return false;
    if (e.getModifierState && e.getModifierState('AltGraph')) return false;
    if (e.metaKey || e.altKey) return true;
    return e.ctrlKey && (k.length !== 1 || withCtrl.indexOf(k.toLowerCase()) < 0);
  }
  ['keydown', 'keypress', 'keyup'].forEach(function (type) {
    window.addEventListener(type, function (e) {
      if (e.target === canvas && browsers(e)) e.stopImmediatePropagation();
    }, true);
  });

  // SDL forgets the keys held when the browser's window loses the focus. The canvas
  // losing it to the page is the same to the program: a key released elsewhere must
  // not stay held in it.
  canvas.addEventListener('blur', function () {
    if (document.hasFocus()) window.dispatchEvent(new FocusEvent('blur'));
  });
  canvas.addEventListener('focus', function () {
    window.dispatchEvent(new FocusEvent('focus'));
  });
  canvas.focus();
})();
