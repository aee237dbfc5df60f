"""Menu files written as the supervisor writes them: UTF-8, CR LF line ends."""


def write_menu(path, card_type, exercises, reward=None):
    """exercises: (file name, folder) pairs; reward: (folder, file name) of
    the reward picture, or None for a menu without one."""
    lines = [str(len(exercises)), str(card_type)]
    for name, folder in exercises:
        lines += ['"%s"' % name, '"%s"' % folder]
    if reward:
        lines += ["0", '"%s"' % reward[0], '"%s"' % reward[1]]
    else:
        lines.append("1")
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("utf-8"))
