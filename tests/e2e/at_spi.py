"""What a screen reader reads of Pelmiro over AT-SPI, a line an object:
  at_spi.py tree     the accessible tree of Pelmiro's window
  at_spi.py events   what Pelmiro tells as it happens: focus moves and value changes
A line is the role, the name and the description, then for a value its range."""
import sys

import pyatspi


def line(obj, depth=0):
    try:
        value = obj.queryValue()
        told = f' {value.currentValue:g} [{value.minimumValue:g}, {value.maximumValue:g}]'
    except NotImplementedError:
        told = ''
    return f'{"  " * depth}{obj.getRoleName()} "{obj.name}" "{obj.description}"{told}'


def tree(obj, depth=0):
    print(line(obj, depth))
    for child in obj:
        tree(child, depth + 1)


def told(event):
    print(event.type, line(event.source), flush=True)


if sys.argv[1] == 'tree':
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == 'Pelmiro':
            for window in app:
                tree(window)
else:
    for kind in ('focus:', 'object:property-change:accessible-value',
                 'object:state-changed:focused', 'object:text-selection-changed',
                 'object:text-caret-moved'):
        pyatspi.Registry.registerEventListener(told, kind)
    print('listening', flush=True)
    pyatspi.Registry.start()
