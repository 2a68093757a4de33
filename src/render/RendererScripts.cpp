#include "render/RendererScripts.h"

#include "render/TextEscaping.h"

namespace lumeris {

const std::string& RendererScripts::loggingBridgeScript() {
    static const std::string script = R"JS((function () {
  function text(value) {
    var written;
    if (value === undefined) {
      written = "undefined";
    } else if (value !== null && typeof value === "object") {
      try { written = JSON.stringify(value); } catch (e) { written = String(value); }
      if (written === undefined) { written = String(value); }
    } else {
      written = String(value);
    }
    return written.substring(0, 3000);
  }
  function log(emoji, type, args) {
    try {
      var parts = [];
      for (var i = 0; i < args.length; i++) { parts.push(text(args[i])); }
      window.webkit.messageHandlers.logging.postMessage(
        emoji + " JS " + type + ": " + parts.join(", "));
    } catch (e) {}
  }
  [["log", "\uD83D\uDCD7", "log"], ["warn", "\uD83D\uDCD9", "warning"],
   ["error", "\uD83D\uDCD5", "error"], ["debug", "\uD83D\uDCD8", "debug"]].forEach(function (entry) {
    var original = console[entry[0]];
    console[entry[0]] = function () {
      log(entry[1], entry[2], arguments);
      if (original) { original.apply(console, arguments); }
    };
  });
  window.addEventListener("error", function (event) {
    log("\uD83D\uDCA5", "Uncaught",
        [event.message + " at " + event.filename + ":" + event.lineno + ":" + event.colno]);
  });
})();
)JS";
    return script;
}

const std::string& RendererScripts::pointerScript() {
    static const std::string script = R"JS((function () {
  function post(name) {
    try { window.webkit.messageHandlers.events.postMessage({ name: name }); } catch (e) {}
  }
  window.resetDragState = function () {
    if (document.body) {
      document.body.classList.remove("webview-mousedown");
      document.body.classList.remove("webview-drag-start");
    }
  };
  window.addEventListener("mousedown", function (event) {
    if (window._PREVENT_DRAG_SCRIPT) { return; }
    if (event.button !== 0) { return; }
    if (event.target && event.target.id === "target") {
      event.preventDefault();
      if (document.activeElement && document.activeElement.blur) { document.activeElement.blur(); }
      if (window.getSelection) {
        window.getSelection().removeAllRanges();
      } else if (document.selection) {
        document.selection.empty();
      }
    }
    if (document.body) { document.body.classList.add("webview-mousedown"); }
    post("mousedown");
  });
  window.addEventListener("mouseup", function () {
    console.log("mouseup");
    window.resetDragState();
    post("mouseup");
  });
})();
)JS";
    return script;
}

const std::string& RendererScripts::windowLoadScript() {
    static const std::string script = R"JS((function () {
  function post() {
    try { window.webkit.messageHandlers.events.postMessage({ name: "windowload" }); } catch (e) {}
  }
  window.addEventListener("load", function () {
    // A shown page has painted after two frames. A hidden one (the off-screen renderer) gets no
    // frames: its snapshot lays out and paints the loaded document itself, once its pictures are
    // decoded (a loaded picture may still be decoding) and the fonts of its text are in.
    if (document.visibilityState === "hidden") {
      var waits = Array.prototype.map.call(document.images, function (image) {
        return image.decode ? image.decode().catch(function () {}) : null;
      });
      if (document.fonts && document.fonts.ready) {
        waits.push(document.fonts.ready);
      }
      Promise.all(waits).then(post, post);
      return;
    }
    requestAnimationFrame(function () { requestAnimationFrame(post); });
  });
})();
)JS";
    return script;
}

const std::string& RendererScripts::screenshotModeScript() {
    static const std::string script = R"JS((function () {
  if (window.getSelection) {
    window.getSelection().removeAllRanges();
  } else if (document.selection) {
    document.selection.empty();
  }
  if (document.activeElement && document.activeElement.blur) { document.activeElement.blur(); }
  document.body.classList.add("screenshot-mode");
  setTimeout(function () { document.body.classList.remove("screenshot-mode"); }, 1000);
  return true;
})())JS";
    return script;
}

const std::string& RendererScripts::cancelOperationScript() {
    static const std::string script = "(function() {\n  return window.HANDLE_CANCEL_OPERATION && "
                                      "window.HANDLE_CANCEL_OPERATION()\n})()";
    return script;
}

const std::string& RendererScripts::selectedTextScript() {
    static const std::string script =
        "(function() {\n  return window.getSelection().toString()\n})()";
    return script;
}

const std::string& RendererScripts::resetDragStateScript() {
    static const std::string script = "window.resetDragState();";
    return script;
}

const std::string& RendererScripts::annotationsScript() {
    static const std::string script =
        "(function() {\n  return window.ANNOTATIONS_JSON ? window.ANNOTATIONS_JSON() : null\n})()";
    return script;
}

std::string RendererScripts::restoreAnnotationsScript(std::string_view json) {
    return "(function() {\n  return window.RESTORE_ANNOTATIONS ? window.RESTORE_ANNOTATIONS(\"" +
           TextEscaping::javaScriptString(json) + "\") : -1\n})()";
}

std::string RendererScripts::activateCommandScript(std::string_view flag) {
    return "ACTIVATE_COMMAND({ " + std::string(flag) + ": true })";
}

} // namespace lumeris
