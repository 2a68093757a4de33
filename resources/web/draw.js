// Tool mode of the annotation layer. The application enters a tool with ACTIVATE_COMMAND, leaves
// it with Escape (HANDLE_CANCEL_OPERATION), and hears every mode change as a CHANGE_MODE message.
// Keys 1 to 4 pick the text, arrow, redaction and shape tools. Redacting recognised text works
// through the document's own click handler on its rectangles; no tool draws shapes yet.
(function () {
  var tools = window.ANNOTATION_TOOLS || [];
  var mode = "free";
  var modeClasses = { "redact": "redact-mode", "add-text": "add-text-mode",
                      "add-arrow": "add-arrow-mode", "add-shape": "add-shape-mode" };

  window._PREVENT_DRAG_SCRIPT = false;

  function post(message) {
    try { window.webkit.messageHandlers.events.postMessage(message); } catch (e) {}
  }

  function setMode(next) {
    if (next === mode) { return; }
    if (document.body && modeClasses[mode]) { document.body.classList.remove(modeClasses[mode]); }
    mode = next;
    if (document.body && modeClasses[mode]) { document.body.classList.add(modeClasses[mode]); }
    post({ name: "CHANGE_MODE", payload: mode });
  }

  window.ACTIVATE_COMMAND = function (command) {
    if (!command || typeof command !== "object") { return; }
    for (var i = 0; i < tools.length; i++) {
      if (command[tools[i].flag] === true) {
        setMode(mode === tools[i].mode ? "free" : tools[i].mode);
        return;
      }
    }
  };

  window.HANDLE_CANCEL_OPERATION = function () {
    if (mode === "free") { return false; }
    setMode("free");
    return true;
  };

  window.CURRENT_ANNOTATION_MODE = function () { return mode; };

  document.addEventListener("keydown", function (event) {
    if (event.altKey || event.ctrlKey || event.metaKey) { return; }
    var target = event.target;
    if (target && (target.isContentEditable || target.tagName === "INPUT" ||
                   target.tagName === "TEXTAREA")) { return; }
    for (var i = 0; i < tools.length; i++) {
      if (event.key === tools[i].key) {
        var command = {};
        command[tools[i].flag] = true;
        window.ACTIVATE_COMMAND(command);
        event.preventDefault();
        return;
      }
    }
  });
})();
